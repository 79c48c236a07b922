#include "convert/PdfPages.h"

#include "convert/ConvertError.h"
#include "convert/ImageWriter.h"
#include "convert/PdfPageFolder.h"
#include "convert/PngPixels.h"

namespace fs = std::filesystem;

namespace tavrino {

std::optional<Image> renderPDFPage(const PdfDocument& document, int index, double scale) {
    std::optional<PixelBuffer> pixels = document.renderPage(index, scale);
    if (!pixels) return std::nullopt;
    try {
        return Image::fromPixels(*pixels);
    } catch (const ConvertError&) {
        return std::nullopt;
    }
}

fs::path convertPDFPages(const fs::path& path, const PdfDocument& document, Fmt fmt,
                         double quality) {
    return writePDFPages(path, document, fmt,
                         [fmt, quality](const PixelBuffer& page, const fs::path& file) {
                             // A rendered page is opaque and already in memory: PNG needs no image
                             // library.
                             if (fmt == Fmt::png) {
                                 writePngPixels(page, file);
                                 return true;
                             }
                             std::optional<Image> image;
                             try {
                                 image = Image::fromPixels(page);
                             } catch (const ConvertError&) {
                                 return false;
                             }
                             writeImage(*image, file, fmt, quality);
                             return true;
                         });
}

}  // namespace tavrino
