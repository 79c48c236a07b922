#pragma once
// BMP without ImageMagick: libvips has no BMP codec of its own, and its ImageMagick loader
// is blocked for untrusted input. stb_image (BMP only) decodes and stb_image_write encodes.

#include <filesystem>
#include <optional>
#include <span>

#include "platform/PixelBuffer.h"

namespace tavrino {

// The pixels of an uncompressed or bit-field BMP (1 to 32 bits per pixel). No value for a
// file that is not such a BMP, is shorter than its header says (stb would pad a truncated
// file with black instead of failing), or holds more than maxImagePixels.
std::optional<PixelBuffer> decodeBmpFile(const std::filesystem::path& path);
// The same for the whole file already in memory.
std::optional<PixelBuffer> decodeBmpBytes(std::span<const unsigned char> bytes);

// Writes 1 (grey) or 3 (RGB) bands as a 24-bit BMP, 2 or 4 bands as a 32-bit one. False
// when the file cannot be written.
bool encodeBmpFile(const PixelView& pixels, const std::filesystem::path& path);
bool encodeBmpFile(const PixelBuffer& pixels, const std::filesystem::path& path);

}  // namespace tavrino
