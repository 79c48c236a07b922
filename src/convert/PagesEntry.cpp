// The page engine's start-up: fills its slot, in a program linked with it (the build makes
// the linker keep this file by asking for tavrino_pages_linked) or inside dlopen in
// tavrino-cli.

#include "convert/PageWork.h"
#include "convert/PdfPageFolder.h"
#include "convert/PngPixels.h"
#include "platform/PdfDocument.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

std::optional<fs::path> pngPages(const fs::path& path) {
    const std::unique_ptr<PdfDocument> document = PdfDocument::open(path);
    if (!document || document->pageCount() < 2) return std::nullopt;
    return writePDFPages(path, *document, Fmt::png,
                         [](const PixelBuffer& page, const fs::path& file) {
                             writePngPixels(page, file);
                             return true;
                         });
}

const PageWork work{.pngPages = pngPages};

struct FillSlot {
    FillSlot() { pageWorkSlot().fill(work); }
} fillSlot;

}  // namespace
}  // namespace tavrino

extern "C" void tavrino_pages_linked() {}
