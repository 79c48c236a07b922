#include "convert/PdfPages.h"

#include <future>
#include <system_error>

#include "convert/ConvertError.h"
#include "convert/ImageWriter.h"
#include "convert/OutputNaming.h"
#include "convert/PendingFolder.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

constexpr double pageScale = 2.0;

}  // namespace

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
    PendingFolder folder(imageFolderName(path));
    const std::string stem = path.stem().string();
    const int total = document.pageCount();
    const auto render = [&document](int index) {
        return renderPDFPage(document, index, pageScale);
    };
    // Rendering the next page overlaps with encoding this one. Only the renderer thread
    // touches the document, one page at a time.
    std::future<std::optional<Image>> next = std::async(std::launch::async, render, 0);
    int written = 0;
    try {
        for (int index = 0; index < total; ++index) {
            std::optional<Image> page = next.get();
            if (index + 1 < total) next = std::async(std::launch::async, render, index + 1);
            if (!page) continue;
            const fs::path file = folder.path() / (stem + " " + std::to_string(index + 1) + "." +
                                                   std::string(rawValue(fmt)));
            writeImage(*page, file, fmt, quality);
            ++written;
        }
    } catch (...) {
        if (next.valid()) next.wait();
        throw;
    }
    if (written != total) {
        throw ConvertError("PDF 쪽 그리기 실패(" + std::to_string(written) + "/" +
                           std::to_string(total) + ")");
    }
    return folder.place();
}

}  // namespace tavrino
