#pragma once

#include <string>

#include "model/Document.h"

namespace tavrino::docs {

// The bytes of an HWP 5.x file for `document`. Throws DocumentError for content the format
// cannot hold.
std::string writeHwp5(const Document& document);

}  // namespace tavrino::docs
