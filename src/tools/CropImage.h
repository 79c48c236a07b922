#pragma once
// Writing a crop: the chosen rectangle of a picture, read the right way up, cut out and
// written beside the source as "<stem> 자름.<ext>" in the source's own format (quality 0.9,
// no metadata of the source). The source is never changed.

#include <filesystem>
#include <optional>

#include "tools/crop/CropGeometry.h"

namespace tavrino {

struct PixelArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelArea&) const = default;
};

// The smallest whole-pixel rectangle holding `rect`, clipped to an image of width × height;
// none when nothing of it lies inside the image (or a side is not a finite number).
std::optional<PixelArea> pixelArea(const crop::Rect& rect, int width, int height);

struct CropResult {
    std::filesystem::path output;
    PixelArea area;  // what was cut out, which is the size of the file written
};

// Throws ConvertError "자를 영역이 비어 있음" when the rectangle leaves nothing of the image,
// and the errors of loadOrientedImage and writeImage. JPEG and BMP results are opaque
// (drawn onto white); PNG, TIFF and HEIC keep transparency.
CropResult cropImage(const std::filesystem::path& source, const crop::Rect& rect);

// cropImage with its outcome in the activity log:
//   "자르기 완료: a.png -> a 자름.png 300x300"   the size written
//   "자르기 실패: a.png: " + description
// Never throws; the result when it worked.
std::optional<CropResult> cropAndLog(const std::filesystem::path& source, const crop::Rect& rect);

}  // namespace tavrino
