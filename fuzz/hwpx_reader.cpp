// Feeds arbitrary bytes to the HWPX reader: any input must end in a document or a
// DocumentError, never a crash, a hang or unbounded memory.
#include <cstddef>
#include <cstdint>

#include "hwpx/HwpxReader.h"
#include "model/DocumentError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        tavrino::docs::readHwpx({reinterpret_cast<const char*>(data), size});
    } catch (const tavrino::docs::DocumentError&) {
    }
    return 0;
}
