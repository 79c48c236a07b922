// Fuzzes the whole HWP 5 reader from the file's bytes to the document model, as the tools call
// it; seeded with the corpus documents, it reaches the compressed and encrypted paths too.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "hwp5/Hwp5Reader.h"
#include "model/DocumentError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        (void)tavrino::docs::readHwp5(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const tavrino::docs::DocumentError&) {
    }
    return 0;
}
