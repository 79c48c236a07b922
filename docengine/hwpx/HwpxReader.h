#pragma once

#include <string_view>

#include "model/Document.h"

namespace tavrino::docs {

// Reads a document held in memory. Throws DocumentError with a one-line description.
Document readHwpx(std::string_view bytes);

}  // namespace tavrino::docs
