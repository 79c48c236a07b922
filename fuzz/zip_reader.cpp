// Opens arbitrary bytes as a ZIP package and reads every entry, the way the DOCX and HWPX
// readers do: each must come back whole or end in a DocumentError within the reader's limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/DocumentError.h"
#include "zip/ZipReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavrino::docs;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)looksLikeZip(bytes);
    try {
        ZipReader zip(bytes);
        const auto names = zip.names();
        for (const std::string& name : names) {
            if (!isSafeEntryName(name)) std::abort();  // the reader refuses these on opening
            if (!zip.find(name)) std::abort();
            (void)zip.compressionMethod(name);
            try {
                // Whatever sizes the headers claim, a large entry comes back only within
                // the expansion limit (the whole input bounds its compressed size).
                const std::string entry = zip.read(name);
                if (entry.size() > (1u << 20) && entry.size() / size > ZipLimits{}.maxRatio) {
                    std::abort();
                }
            } catch (const DocumentError&) {
                // one damaged entry; the others may still read
            }
        }
    } catch (const DocumentError&) {
    }
    return 0;
}
