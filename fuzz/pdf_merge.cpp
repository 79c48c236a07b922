// Runs the merge tool on one arbitrary PDF: qpdf opens it, its pages are copied into a new
// document and written. A damaged input must end in a ConvertError with nothing written, a
// readable one in a result beside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "convert/ConvertError.h"
#include "support/ScratchFile.h"
#include "tools/PdfMerge.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavrino;
    namespace fs = std::filesystem;
    const fs::path input =
        fuzzing::scratchFile("input.pdf", {reinterpret_cast<const char*>(data), size});
    try {
        const ToolResult result = mergePDF({&input, 1});
        if (!fs::is_regular_file(result.output)) std::abort();
        fs::remove(result.output);
    } catch (const ConvertError&) {
    }
    // Whatever happened, only the input may be left in the folder.
    for (const fs::directory_entry& entry : fs::directory_iterator(input.parent_path())) {
        if (entry.path() != input) std::abort();
    }
    return 0;
}
