#include "platform/PdfDocument.h"

#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-global.h>
#include <poppler/cpp/poppler-image.h>
#include <poppler/cpp/poppler-page-renderer.h>
#include <poppler/cpp/poppler-page.h>

#include <cmath>
#include <cstring>
#include <mutex>

namespace tavrino {
namespace {

// Poppler reports every oddity of a damaged file on standard error; our callers turn a
// failure into one clear message instead.
void silencePoppler() {
    static std::once_flag once;
    std::call_once(
        once, [] { poppler::set_debug_error_function([](const std::string&, void*) {}, nullptr); });
}

}  // namespace

struct PdfDocument::Members {
    std::unique_ptr<poppler::document> document;
};

PdfDocument::PdfDocument(std::unique_ptr<Members> members) : members_(std::move(members)) {}
PdfDocument::~PdfDocument() = default;

std::unique_ptr<PdfDocument> PdfDocument::open(const std::filesystem::path& path) {
    silencePoppler();
    auto members = std::make_unique<Members>();
    members->document.reset(poppler::document::load_from_file(path.string()));
    if (!members->document || members->document->is_locked() || members->document->pages() < 1) {
        return nullptr;
    }
    return std::unique_ptr<PdfDocument>(new PdfDocument(std::move(members)));
}

int PdfDocument::pageCount() const {
    return members_->document->pages();
}

PdfDocument::Size PdfDocument::pageSize(int index) const {
    std::unique_ptr<poppler::page> page(members_->document->create_page(index));
    if (!page) return {};
    const poppler::rectf box = page->page_rect(poppler::crop_box);
    const auto turn = page->orientation();
    const bool sideways = turn == poppler::page::landscape || turn == poppler::page::seascape;
    const double width = std::abs(box.width()), height = std::abs(box.height());
    return sideways ? Size{height, width} : Size{width, height};
}

std::optional<PixelBuffer> PdfDocument::renderPage(int index, double scale) const {
    std::unique_ptr<poppler::page> page(members_->document->create_page(index));
    if (!page) return std::nullopt;
    const Size size = pageSize(index);
    const double w = std::trunc(size.width * scale), h = std::trunc(size.height * scale);
    if (w < 1 || h < 1 || w * h > static_cast<double>(maxImagePixels)) return std::nullopt;
    const int width = static_cast<int>(w), height = static_cast<int>(h);

    poppler::page_renderer renderer;
    renderer.set_render_hints(poppler::page_renderer::antialiasing |
                              poppler::page_renderer::text_antialiasing);
    renderer.set_paper_color(0xffffffff);
    renderer.set_image_format(poppler::image::format_bgr24);
    const poppler::image image =
        renderer.render_page(page.get(), 72.0 * scale, 72.0 * scale, 0, 0, width, height);
    if (!image.is_valid() || image.width() < width || image.height() < height) return std::nullopt;

    // Poppler's rows are padded and blue first; ours are packed and red first.
    PixelBuffer pixels{width, height, 3, {}};
    pixels.bytes.resize(pixels.rowBytes() * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        const auto* in = reinterpret_cast<const std::uint8_t*>(image.const_data()) +
                         static_cast<size_t>(y) * static_cast<size_t>(image.bytes_per_row());
        std::uint8_t* out = pixels.bytes.data() + static_cast<size_t>(y) * pixels.rowBytes();
        for (int x = 0; x < width; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return pixels;
}

}  // namespace tavrino
