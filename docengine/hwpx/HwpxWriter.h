#pragma once

#include <string>

#include "model/Document.h"

namespace tavrino::docs {

// The bytes of the package for `document`. Throws DocumentError.
std::string writeHwpx(const Document& document);

}  // namespace tavrino::docs
