// Runs a fuzz target's entry point once for every file in the folders given, in name order,
// as libFuzzer would for a corpus. A fault aborts the process, so the test fails with the
// name of the input printed just before. A missing folder holds no input (fuzz/regressions/X
// exists only once X crashed); no input at all is an error, since the corpus always exists.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/WholeFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(argv[i], error)) {
            if (entry.is_regular_file()) inputs.push_back(entry.path());
        }
    }
    std::sort(inputs.begin(), inputs.end());
    if (inputs.empty()) {
        std::fprintf(stderr, "no inputs in the folders given\n");
        return 1;
    }
    for (const fs::path& input : inputs) {
        std::fprintf(stderr, "%s\n", input.c_str());
        const std::optional<std::string> bytes = tavrino::readWholeFile(input);
        if (!bytes) {
            std::fprintf(stderr, "cannot read %s\n", input.c_str());
            return 1;
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size());
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    return 0;
}
