#include "tools/PixelTools.h"

#include <algorithm>
#include <cstdint>
#include <system_error>

#include "convert/ConvertError.h"
#include "convert/ImageWriter.h"
#include "convert/OutputNaming.h"
#include "tools/ByteCount.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

std::uintmax_t sizeOrZero(const fs::path& path) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    return error ? 0 : size;
}

}  // namespace

std::optional<Image> scaled(const Image& image, double factor) {
    const int width = std::max(1, static_cast<int>(image.width() * factor));
    const int height = std::max(1, static_cast<int>(image.height() * factor));
    VipsImageRef out = vipsResized(image.ref(), width, height);
    if (!out) return std::nullopt;
    return image.derived(std::move(out));
}

std::optional<Image> rotatedClockwise(const Image& image) {
    VipsImageRef out = vipsQuarterTurn(image.ref());
    if (!out) return std::nullopt;
    return image.derived(std::move(out));
}

ToolResult compressImage(const fs::path& path) {
    const Image image = loadOrientedImage(path);
    const bool opaque = !image.hasAlpha();
    const Fmt type = opaque ? Fmt::jpg : Fmt::heic;
    // writeImage puts a JPEG onto white itself; an opaque picture has nothing to flatten.
    const fs::path output =
        writeImage(image, toolOutputName(path, "압축", rawValue(type)), type, 0.6);
    return {output, sizeChangeNote(sizeOrZero(path), sizeOrZero(output))};
}

ToolResult resizeImage(const fs::path& path, const SameFormat& format) {
    const std::optional<Image> half = scaled(loadOrientedImage(path), 0.5);
    if (!half) throw ConvertError("크기 변경 실패");
    const fs::path output =
        writeImage(*half, toolOutputName(path, "50%", format.extension), format.type, 0.9);
    return {output, std::to_string(half->width()) + "×" + std::to_string(half->height())};
}

ToolResult rotateImage(const fs::path& path, const SameFormat& format) {
    const std::optional<Image> turned = rotatedClockwise(loadOrientedImage(path));
    if (!turned) throw ConvertError("회전 실패");
    return {writeImage(*turned, toolOutputName(path, "회전", format.extension), format.type, 0.9),
            std::nullopt};
}

}  // namespace tavrino
