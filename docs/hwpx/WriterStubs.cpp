#include "docx/DocxWriter.h"
#include "hwpx/HwpxWriter.h"
#include "io/DocumentError.h"

namespace tavrino::docs {

std::string writeHwpx(const Document&) { throw DocumentError("HWPX 쓰기 준비 중"); }
std::string writeDocx(const Document&) { throw DocumentError("DOCX 쓰기 준비 중"); }

}  // namespace tavrino::docs
