#include "tools/CropImage.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <string>

#include "convert/ConvertError.h"
#include "convert/Image.h"
#include "convert/ImageWriter.h"
#include "convert/OutputNaming.h"
#include "menu/Formats.h"
#include "platform/Log.h"

namespace fs = std::filesystem;

namespace tavrino {

std::optional<PixelArea> pixelArea(const crop::Rect& rect, int width, int height) {
    if (!std::isfinite(rect.x) || !std::isfinite(rect.y) || !std::isfinite(rect.width) ||
        !std::isfinite(rect.height) || rect.width <= 0 || rect.height <= 0) {
        return std::nullopt;
    }
    // Clipped while still in floating point, so that no edge outside the image (however
    // far) is ever converted to an int.
    const double x0 = std::max(0.0, std::floor(rect.minX()));
    const double y0 = std::max(0.0, std::floor(rect.minY()));
    const double x1 = std::min(static_cast<double>(width), std::ceil(rect.maxX()));
    const double y1 = std::min(static_cast<double>(height), std::ceil(rect.maxY()));
    if (x1 <= x0 || y1 <= y0) return std::nullopt;
    return PixelArea{static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0),
                     static_cast<int>(y1 - y0)};
}

CropResult cropImage(const fs::path& source, const crop::Rect& rect) {
    const Image image = loadOrientedImage(source);
    const std::optional<PixelArea> area = pixelArea(rect, image.width(), image.height());
    if (!area) throw ConvertError("자를 영역이 비어 있음");
    VipsImageRef cut = vipsCropped(image.ref(), area->x, area->y, area->width, area->height);
    if (!cut) throw ConvertError("자를 영역이 비어 있음");
    Image piece = image.derived(std::move(cut));
    const SameFormat format = sameFormat(source);
    if (format.type == Fmt::jpg || format.type == Fmt::bmp) piece = flattened(piece);
    const fs::path output =
        writeImage(piece, toolOutputName(source, "자름", format.extension), format.type, 0.9);
    return {output, *area};
}

std::optional<CropResult> cropAndLog(const fs::path& source, const crop::Rect& rect) {
    const std::string name = source.filename().string();
    try {
        CropResult result = cropImage(source, rect);
        log("자르기 완료: " + name + " -> " + result.output.filename().string() + " " +
            std::to_string(result.area.width) + "x" + std::to_string(result.area.height));
        return result;
    } catch (const std::exception& error) {
        log("자르기 실패: " + name + ": " + error.what());
        return std::nullopt;
    }
}

}  // namespace tavrino
