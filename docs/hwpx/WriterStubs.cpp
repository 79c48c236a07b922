#include "docx/DocxWriter.h"

#include "io/DocumentError.h"

namespace tavrino::docs {

std::string writeDocx(const Document&) { throw DocumentError("DOCX 쓰기 준비 중"); }

}  // namespace tavrino::docs
