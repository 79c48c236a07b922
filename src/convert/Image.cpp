#include "convert/Image.h"

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

Image loadBmp(const fs::path& path) {
    std::optional<PixelBuffer> buffer = decodeBmpFile(path);
    if (!buffer) throw unreadable(path);
    return Image::fromPixels(*buffer);
}

// Keeps a picture opened by one of the picture loaders when it holds at most maxImagePixels
// of at most maxImageBands samples, together at most maxImageBytes, as grey or sRGB of 8 bits
// per component (what every encoder of ours expects). Pixels are decoded later, as they are
// used. Empty when nothing was opened or the picture is too large.
Image withinLimits(VipsOpened opened, const fs::path& origin) {
    VipsImageRef image = std::move(opened.image);
    bool untouched = true;
    if (image) {
        const auto pixels = static_cast<std::uint64_t>(vipsWidth(image)) *
                            static_cast<std::uint64_t>(vipsHeight(image));
        const void* const original = image.get();
        const bool fits = pixels <= maxImagePixels && vipsBands(image) <= maxImageBands &&
                          vipsDecodedBytes(image) <= maxImageBytes;
        image = fits ? vipsEightBit(std::move(image)) : VipsImageRef();
        untouched = image.get() == original;
    }
    if (!image) return {};
    return Image(std::move(image), origin, untouched ? opened.loader : "");
}

// Opens a file with one of the picture loaders, refusing truncated data.
Image openWithVips(const fs::path& path, bool randomAccess, int page = 0) {
    Image image = withinLimits(openVipsPicture(path, randomAccess, page, isPictureLoader), path);
    if (!image) throw unreadable(path);
    return image;
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

Image decode(const fs::path& path, bool randomAccess) {
    if (lowerExtension(path) == "pdf") return renderFirstPage(path);
    if (startsWithBmpMagic(path)) return loadBmp(path);
    return openWithVips(path, randomAccess);
}

}  // namespace

Image::Image(VipsImageRef pixels, fs::path origin, std::string loader)
    : pixels_(std::move(pixels)), origin_(std::move(origin)), loader_(std::move(loader)) {}

int Image::width() const {
    return vipsWidth(pixels_);
}
int Image::height() const {
    return vipsHeight(pixels_);
}
int Image::bands() const {
    return vipsBands(pixels_);
}
bool Image::hasAlpha() const {
    return vipsHasAlpha(pixels_);
}

Image Image::share() const {
    return Image(vipsShare(pixels_), origin_, loader_);
}

Image Image::derived(VipsImageRef pixels) const {
    return Image(std::move(pixels), origin_);
}

PixelMemory Image::pixelMemory() const {
    PixelMemory memory = vipsPixelMemory(pixels_);
    if (!memory.view().data) {
        if (!origin_.empty()) throw unreadable(origin_);
        throw ConvertError("이미지로 읽을 수 없음");
    }
    return memory;
}

PixelBuffer Image::pixels() const {
    const PixelMemory memory = pixelMemory();
    const PixelView view = memory.view();
    PixelBuffer buffer{view.width, view.height, view.bands, {}};
    buffer.bytes.assign(view.data, view.data + view.rowBytes() * static_cast<size_t>(view.height));
    return buffer;
}

Image Image::fromPixels(const PixelBuffer& buffer) {
    VipsImageRef image = vipsFromPixels(buffer);
    if (!image) throw ConvertError("그리기 영역 생성 실패");
    return Image(std::move(image));
}

Image loadImage(const fs::path& path) {
    return decode(path, false);
}

Image loadImageBytes(std::string_view bytes) {
    if (bytes.starts_with("BM")) {
        std::optional<PixelBuffer> buffer =
            decodeBmpBytes({reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()});
        if (!buffer) throw ConvertError("이미지로 읽을 수 없음");
        return Image::fromPixels(*buffer);
    }
    Image image = withinLimits(openVipsPictureBytes(bytes, false, 0, isPictureLoader), {});
    if (!image) throw ConvertError("이미지로 읽을 수 없음");
    return image;
}

Image loadOrientedImage(const fs::path& path) {
    // Turning needs the whole picture at once, so this one is read with random access.
    Image image = decode(path, true);
    if (vipsOrientation(image.ref()) <= 1) return image;
    VipsImageRef turned = vipsUpright(image.ref());
    if (!turned) throw unreadable(path);
    return image.derived(std::move(turned));
}

Image flattened(const Image& image) {
    if (!image.hasAlpha()) return image.share();
    VipsImageRef flat = vipsOnWhite(image.ref());
    if (!flat) return image.share();
    return image.derived(std::move(flat));
}

std::optional<Image> loadImagePage(const fs::path& path, int page) {
    try {
        Image image = openWithVips(path, true, page);
        VipsImageRef memory = vipsInMemory(image.ref());
        if (!memory) return std::nullopt;
        return Image(std::move(memory));
    } catch (const ConvertError&) {
        return std::nullopt;
    }
}

bool decodesCompletely(const fs::path& path) {
    try {
        return vipsDecodesAll(openWithVips(path, false).ref());
    } catch (const ConvertError&) {
        return false;
    }
}

}  // namespace tavrino
