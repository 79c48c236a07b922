// Whatever the readers accept, the writers must turn into files our readers accept again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "io/DocumentIO.h"
#include "model/DocumentError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavrino::docs;
    Document document;
    try {
        document = readDocumentBytes({reinterpret_cast<const char*>(data), size});
    } catch (const DocumentError&) {
        return 0;
    }
    for (const DocumentFormat format :
         {DocumentFormat::hwp, DocumentFormat::hwpx, DocumentFormat::docx}) {
        std::string written;
        try {
            written = documentBytes(document, format);
        } catch (const DocumentError&) {
            continue;  // content the format cannot hold is refused with a message
        }
        try {
            readDocumentBytes(written);
        } catch (const DocumentError&) {
            std::abort();  // our own output must always read back
        }
    }
    return 0;
}
