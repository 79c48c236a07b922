#pragma once
// The text of a whole image or PDF file: every page or frame read in order, one at a time
// per worker so that memory stays bounded by the number of workers, not the page count.

#include <string>

#include "menu/FileFacts.h"

namespace tavrino {

// Page texts (empty ones included) joined with "\n\n" and trimmed at both ends. Throws
// ConvertError "PDF를 열 수 없음" for a PDF that does not open, "글자를 찾지 못함" when no
// page holds text, and the image reader's errors for a picture that does not decode.
std::string recognizeText(const FileFacts& source);

}  // namespace tavrino
