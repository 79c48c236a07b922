#pragma once
// Image headers read by libvips, for ImageProbe: no pixel is decoded. The callers have
// already seen that the file starts like a picture.

#include <cstdint>
#include <filesystem>
#include <optional>

namespace tavrino {

// Frames (GIF) or pages (TIFF, HEIC); 0 when no picture loader reads the header.
int vipsFrameCount(const std::filesystem::path& path);

// Width × height of the first image; no value when no picture loader reads the header.
std::optional<std::uint64_t> vipsPixelCount(const std::filesystem::path& path);

}  // namespace tavrino
