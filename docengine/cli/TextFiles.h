#pragma once
// Writing a document's text: one file per section for pelgrin, one file for textutil.

#include <filesystem>

#include "model/Document.h"
#include "text/TextExport.h"

namespace tavrino::docs {

// Writes "section-0001.txt", "section-0002.txt", ... into `folder` (created when missing), so
// that ascending code-point order of the names is section order.
void writeSectionTexts(const Document& document, const std::filesystem::path& folder,
                       const TextOptions& options);

}  // namespace tavrino::docs
