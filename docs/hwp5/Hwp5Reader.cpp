#include "hwp5/Hwp5Reader.h"

#include "io/DocumentError.h"

namespace tavrino::docs {

Document readHwp5(std::string_view) {
    throw DocumentError("HWP 5.x 문서 읽기는 아직 지원하지 않음");
}

}  // namespace tavrino::docs
