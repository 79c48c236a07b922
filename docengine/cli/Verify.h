#pragma once
// The check behind "--verify-pages": a written document is read back with our own reader
// and must hold as many sections and the same text as the document that was written.

#include <filesystem>

#include "model/Document.h"

namespace tavrino::docs {

// Throws DocumentError saying what differs, after removing `written`, so that a file that
// failed its check never stays where the caller would pick it up.
void verifyWritten(const Document& expected, const std::filesystem::path& written);

}  // namespace tavrino::docs
