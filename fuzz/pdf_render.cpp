// Opens arbitrary bytes as a PDF through poppler the way the converters do, counts its pages,
// measures each and renders the first one small (at most 128 pixels on its long side).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/PdfDocument.h"
#include "support/MemoryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavrino;
    const auto path = fuzzing::memoryFile({reinterpret_cast<const char*>(data), size});
    const std::unique_ptr<PdfDocument> document = PdfDocument::open(path);
    if (!document) return 0;
    const int pages = document->pageCount();
    if (pages < 1) std::abort();  // open() promises at least one page
    // Page trees of damaged files can claim millions of pages; the first few are enough.
    for (int index = 0; index < std::min(pages, 8); ++index)
        (void)document->pageSize(index);
    const PdfDocument::Size first = document->pageSize(0);
    const double longSide = std::max(first.width, first.height);
    if (!(longSide >= 1)) return 0;
    const std::optional<PixelBuffer> picture = document->renderPage(0, 128.0 / longSide);
    if (picture && picture->bytes.size() != picture->rowBytes() * std::size_t(picture->height)) {
        std::abort();
    }
    return 0;
}
