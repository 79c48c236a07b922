#pragma once
// Pixels already in memory (a rendered page) to a PNG file, straight through our parallel
// encoder: no image library in between, no copy of the picture.

#include <filesystem>

#include "platform/PixelBuffer.h"

namespace tavrino {

// Writes `pixels` (1 to 4 bands of 8 bits) to exactly `file`, which must not exist yet;
// nothing is left under that name on failure. Throws ConvertError "파일 저장 실패: " + file.
void writePngPixels(const PixelView& pixels, const std::filesystem::path& file);
void writePngPixels(const PixelBuffer& pixels, const std::filesystem::path& file);

}  // namespace tavrino
