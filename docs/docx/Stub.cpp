#include "docx/DocxReader.h"
#include "docx/DocxWriter.h"
#include "hwpx/HwpxWriter.h"
#include "io/DocumentError.h"

namespace tavrino::docs {

Document readDocx(std::string_view) { throw DocumentError("DOCX 읽기 준비 중"); }
std::string writeHwpx(const Document&) { throw DocumentError("HWPX 쓰기 준비 중"); }
std::string writeDocx(const Document&) { throw DocumentError("DOCX 쓰기 준비 중"); }

}  // namespace tavrino::docs
