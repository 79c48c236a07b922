#pragma once
// HEIC encoding through libheif's x265 encoder, driven directly: libvips' heifsave leaves
// x265 at libheif's default preset ("slow"), which needs over 20 seconds for a 12-megapixel
// photo on two cores. A faster preset with a finer intra transform split gives nearly the
// same file size at a fraction of the time (bench/convert measures both side by side).

#include <filesystem>
#include <string>

#include "platform/PixelBuffer.h"

namespace tavrino {

struct HeicSettings {
    int quality = 90;  // 0 to 100, libheif's lossy quality
    // x265 preset ("ultrafast" ... "placebo"); empty keeps libheif's default.
    std::string preset = "fast";
    // x265's intra transform-unit depth (1 to 4); 0 keeps libheif's default.
    int tuIntraDepth = 0;
};

// Whether libheif has an HEVC encoder on this system (libheif without x265 has none).
bool heicEncoderAvailable();

// Encodes 3 (RGB) or 4 (RGBA) bands into a HEIC file at `path`, with no metadata. Returns
// an empty text on success, otherwise libheif's message.
std::string encodeHeicFile(const PixelBuffer& pixels, const std::filesystem::path& path,
                           const HeicSettings& settings = {});

}  // namespace tavrino
