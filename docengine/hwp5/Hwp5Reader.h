#pragma once
// The HWP 5.x (binary, OLE2 compound file) reader.

#include <string_view>

#include "model/Document.h"

namespace tavrino::docs {

// Reads an HWP 5.x document held in memory. Throws DocumentError.
Document readHwp5(std::string_view bytes);

}  // namespace tavrino::docs
