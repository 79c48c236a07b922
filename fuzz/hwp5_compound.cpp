// Fuzzes the compound file container: the structure check, libgsf behind it, and reading every
// stream the HWP reader would ask for.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "hwp5/CompoundFile.h"
#include "hwp5/Hwp5Error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavrino::docs::hwp5;
    try {
        auto file = CompoundFile::openBytes(std::vector<std::uint8_t>(data, data + size));
        for (const char* storage : {"", "BodyText", "BinData", "ViewText"}) {
            for (const auto& name : file.children(storage)) {
                std::string path = *storage ? std::string(storage) + "/" + name : name;
                if (auto bytes = file.read(path)) (void)bytes->size();
            }
        }
    } catch (const Hwp5Error&) {
    }
    return 0;
}
