#include "convert/Image.h"

#include <vips/vips.h>

#include <cmath>
#include <fstream>
#include <memory>

#include "convert/ConvertError.h"
#include "menu/Formats.h"
#include "platform/Bmp.h"
#include "platform/ImageProbe.h"
#include "platform/PdfDocument.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

ConvertError unreadable(const fs::path& path) {
    return ConvertError("이미지로 읽을 수 없음: " + path.filename().string());
}

bool startsWithBmpMagic(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    char magic[2] = {};
    return file.read(magic, 2) && magic[0] == 'B' && magic[1] == 'M';
}

// Grey or sRGB, 8 bits per component: what every encoder of ours expects. 16-bit PNGs and
// TIFFs, CMYK JPEGs and Lab TIFFs are converted here, lazily.
VipsImageRef eightBit(VipsImageRef in) {
    VipsImage* image = in.get();
    const VipsInterpretation kind = vips_image_guess_interpretation(image);
    const bool grey = kind == VIPS_INTERPRETATION_B_W;
    if ((grey || kind == VIPS_INTERPRETATION_sRGB) && image->BandFmt == VIPS_FORMAT_UCHAR) {
        return in;
    }
    VipsImageRef converted;
    if (vips_colourspace(image, converted.out(),
                         grey ? VIPS_INTERPRETATION_B_W : VIPS_INTERPRETATION_sRGB, nullptr)) {
        return {};
    }
    if (converted.get()->BandFmt == VIPS_FORMAT_UCHAR) return converted;
    VipsImageRef cast;
    if (vips_cast(converted.get(), cast.out(), VIPS_FORMAT_UCHAR, nullptr)) return {};
    return cast;
}

Image loadBmp(const fs::path& path) {
    std::optional<PixelBuffer> buffer = decodeBmpFile(path);
    if (!buffer) throw unreadable(path);
    return Image::fromPixels(*buffer);
}

// Opens a file through a libvips source (a plain path: brackets in a name are never read as
// load options) with one of the picture loaders, refusing truncated data and pictures above
// maxImagePixels. Pixels are decoded later, as they are used.
Image openWithVips(const fs::path& path, VipsAccess access, int page = 0) {
    ensureVips();
    VipsSourceRef source(vips_source_new_from_file(path.c_str()));
    const char* typeName = source ? vips_foreign_find_load_source(source.get()) : nullptr;
    const char* loader = typeName ? vips_nickname_find(g_type_from_name(typeName)) : nullptr;
    VipsImageRef image;
    if (loader && isPictureLoader(loader)) {
        // Only multi-image loaders know "page"; the others refuse unknown options.
        image = VipsImageRef(
            page > 0 ? vips_image_new_from_source(source.get(), "", "access", access, "fail_on",
                                                  VIPS_FAIL_ON_ERROR, "page", page, nullptr)
                     : vips_image_new_from_source(source.get(), "", "access", access, "fail_on",
                                                  VIPS_FAIL_ON_ERROR, nullptr));
    }
    bool untouched = true;
    if (image) {
        const auto pixels = static_cast<std::uint64_t>(vips_image_get_width(image.get())) *
                            static_cast<std::uint64_t>(vips_image_get_height(image.get()));
        VipsImage* before = image.get();
        image = pixels <= maxImagePixels ? eightBit(std::move(image)) : VipsImageRef();
        untouched = image.get() == before;
    }
    vips_error_clear();
    if (!image) throw unreadable(path);
    return Image(std::move(image), path, untouched ? loader : "");
}

Image renderFirstPage(const fs::path& path) {
    std::unique_ptr<PdfDocument> document = PdfDocument::open(path);
    if (!document) throw ConvertError("PDF를 열 수 없음: " + path.filename().string());
    const PdfDocument::Size size = document->pageSize(0);
    const double pixels = std::trunc(size.width * 2) * std::trunc(size.height * 2);
    if (pixels < 1 || pixels > static_cast<double>(maxImagePixels)) {
        throw ConvertError("그리기 영역 생성 실패");
    }
    std::optional<PixelBuffer> page = document->renderPage(0, 2.0);
    if (!page) throw ConvertError("PDF 렌더 실패");
    return Image::fromPixels(*page);
}

Image decode(const fs::path& path, VipsAccess access) {
    if (lowerExtension(path) == "pdf") return renderFirstPage(path);
    if (startsWithBmpMagic(path)) return loadBmp(path);
    return openWithVips(path, access);
}

}  // namespace

Image::Image(VipsImageRef pixels, fs::path origin, std::string loader)
    : pixels_(std::move(pixels)), origin_(std::move(origin)), loader_(std::move(loader)) {}

int Image::width() const {
    return vips_image_get_width(pixels_.get());
}
int Image::height() const {
    return vips_image_get_height(pixels_.get());
}
int Image::bands() const {
    return vips_image_get_bands(pixels_.get());
}
bool Image::hasAlpha() const {
    return vips_image_hasalpha(pixels_.get());
}

Image Image::share() const {
    g_object_ref(pixels_.get());
    return Image(VipsImageRef(pixels_.get()), origin_, loader_);
}

Image Image::derived(VipsImageRef pixels) const {
    return Image(std::move(pixels), origin_);
}

PixelMemory::PixelMemory(void* data, int width, int height, int bands)
    : view_{width, height, bands, static_cast<const std::uint8_t*>(data)} {}

PixelMemory::~PixelMemory() {
    g_free(const_cast<std::uint8_t*>(view_.data));
}

PixelMemory Image::pixelMemory() const {
    size_t size = 0;
    void* memory = vips_image_write_to_memory(pixels_.get(), &size);
    vips_error_clear();
    if (!memory) {
        if (!origin_.empty()) throw unreadable(origin_);
        throw ConvertError("이미지로 읽을 수 없음");
    }
    return PixelMemory(memory, width(), height(), bands());
}

PixelBuffer Image::pixels() const {
    const PixelMemory memory = pixelMemory();
    const PixelView view = memory.view();
    PixelBuffer buffer{view.width, view.height, view.bands, {}};
    buffer.bytes.assign(view.data, view.data + view.rowBytes() * static_cast<size_t>(view.height));
    return buffer;
}

Image Image::fromPixels(const PixelBuffer& buffer) {
    ensureVips();
    VipsImageRef image(vips_image_new_from_memory_copy(buffer.bytes.data(), buffer.bytes.size(),
                                                       buffer.width, buffer.height, buffer.bands,
                                                       VIPS_FORMAT_UCHAR));
    if (!image) {
        vips_error_clear();
        throw ConvertError("그리기 영역 생성 실패");
    }
    image.get()->Type = buffer.bands <= 2 ? VIPS_INTERPRETATION_B_W : VIPS_INTERPRETATION_sRGB;
    return Image(std::move(image));
}

Image loadImage(const fs::path& path) {
    return decode(path, VIPS_ACCESS_SEQUENTIAL);
}

Image loadOrientedImage(const fs::path& path) {
    // Turning needs the whole picture at once, so this one is read with random access.
    Image image = decode(path, VIPS_ACCESS_RANDOM);
    if (vips_image_get_orientation(image.get()) <= 1) return image;
    VipsImageRef turned;
    if (vips_autorot(image.get(), turned.out(), nullptr)) {
        vips_error_clear();
        throw unreadable(path);
    }
    return image.derived(std::move(turned));
}

Image flattened(const Image& image) {
    if (!image.hasAlpha()) return image.share();
    const int colours = image.bands() - 1;
    std::vector<double> white(static_cast<size_t>(colours), 255.0);
    VipsArrayDouble* background = vips_array_double_new(white.data(), colours);
    VipsImageRef flat;
    const int failed = vips_flatten(image.get(), flat.out(), "background", background, nullptr);
    vips_area_unref(VIPS_AREA(background));
    VipsImageRef cast;
    if (failed || vips_cast(flat.get(), cast.out(), VIPS_FORMAT_UCHAR, nullptr)) {
        vips_error_clear();
        return image.share();
    }
    return image.derived(std::move(cast));
}

std::optional<Image> loadImagePage(const fs::path& path, int page) {
    try {
        Image image = openWithVips(path, VIPS_ACCESS_RANDOM, page);
        VipsImageRef memory(vips_image_copy_memory(image.get()));
        vips_error_clear();
        if (!memory) return std::nullopt;
        return Image(std::move(memory));
    } catch (const ConvertError&) {
        return std::nullopt;
    }
}

bool decodesCompletely(const fs::path& path) {
    try {
        Image image = openWithVips(path, VIPS_ACCESS_SEQUENTIAL);
        double ignored = 0;
        const bool ok = vips_avg(image.get(), &ignored, nullptr) == 0;
        vips_error_clear();
        return ok;
    } catch (const ConvertError&) {
        return false;
    }
}

}  // namespace tavrino
