#include "hwp5/Hwp5Reader.h"

#include "hwp5/Hwp5File.h"
#include "hwp5/ModelBuilder.h"

namespace tavrino::docs {

Document readHwp5(std::string_view bytes) {
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    return hwp5::buildDocument(hwp5::readHwp5Bytes(std::move(copy)));
}

}  // namespace tavrino::docs
