#pragma once
// HEIC encoding through libheif's x265 encoder, driven directly: libvips' heifsave leaves
// x265 at libheif's default preset ("slow"), which needs about 28 CPU seconds for a
// 12-megapixel photo at quality 90 (over 20 seconds of waiting on two cores). The
// "ultrafast" preset needs about 4 CPU seconds for a file of nearly the same size (3 %
// smaller in bench/convert's measurement, which prints both with their PSNR).

#include <filesystem>
#include <string>

#include "platform/PixelBuffer.h"

namespace tavrino {

struct HeicSettings {
    int quality = 90;  // 0 to 100, libheif's lossy quality
    // x265 preset ("ultrafast" ... "placebo"); empty keeps libheif's default.
    std::string preset = "ultrafast";
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
