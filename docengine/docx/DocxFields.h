#pragma once
// Small translations shared by the DOCX reader and writer.

#include <string>
#include <string_view>

#include "model/Content.h"

namespace tavrino::docs {

// A field start from a field code (" HYPERLINK \"http://x\" ", " PAGE ", ...).
FieldStart fieldFromInstruction(std::string_view instruction);

// "image/png" for "image1.png"; "application/octet-stream" when unknown.
std::string mediaTypeForName(std::string_view name);

}  // namespace tavrino::docs
