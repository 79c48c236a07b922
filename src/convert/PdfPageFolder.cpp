#include "convert/PdfPageFolder.h"

#include <future>
#include <optional>
#include <string>

#include "convert/ConvertError.h"
#include "convert/OutputNaming.h"
#include "convert/PendingFolder.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

constexpr double pageScale = 2.0;

}  // namespace

fs::path writePDFPages(const fs::path& path, const PdfDocument& document, Fmt fmt,
                       const PageWriter& write) {
    PendingFolder folder(imageFolderName(path));
    const std::string stem = path.stem().string();
    const int total = document.pageCount();
    const auto render = [&document](int index) { return document.renderPage(index, pageScale); };
    // Rendering the next page overlaps with writing this one; two pages at most are in
    // memory. Only the renderer thread touches the document, one page at a time.
    std::future<std::optional<PixelBuffer>> next = std::async(std::launch::async, render, 0);
    int written = 0;
    try {
        for (int index = 0; index < total; ++index) {
            std::optional<PixelBuffer> page = next.get();
            if (index + 1 < total) next = std::async(std::launch::async, render, index + 1);
            if (!page) continue;
            const fs::path file = folder.path() / (stem + " " + std::to_string(index + 1) + "." +
                                                   std::string(rawValue(fmt)));
            if (write(*page, file)) ++written;
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
