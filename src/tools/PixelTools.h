#pragma once
// The three pixel tools: compress (re-encode smaller), resize (halve both sides) and rotate
// (a quarter turn clockwise). Each reads the source the right way up, writes one new file
// beside it through writeImage (no metadata of the source) and leaves the source alone.

#include <filesystem>
#include <optional>

#include "convert/Image.h"
#include "convert/ToolResult.h"
#include "menu/Formats.h"

namespace tavrino {

// The image resampled by `factor` in both directions with a high-quality (Lanczos) kernel,
// alpha weighted correctly; each side truncate(side × factor), at least 1. No value when the
// operation cannot be built.
std::optional<Image> scaled(const Image& image, double factor);

// The image turned 90° clockwise: its top-left corner ends at the result's top-right.
std::optional<Image> rotatedClockwise(const Image& image);

// An opaque picture (no alpha band after decoding) becomes "<stem> 압축.jpg", one with an
// alpha band "<stem> 압축.heic", both at quality 0.6; the note is "4.2 MB → 1.1 MB" (a size
// that cannot be read counts as 0). The result is kept even when it is larger.
ToolResult compressImage(const std::filesystem::path& path);

// "<stem> 50%.<ext>" in `format` at quality 0.9; the note is the new size, e.g. "2016×1512".
// Throws "크기 변경 실패" when the half-size picture cannot be made.
ToolResult resizeImage(const std::filesystem::path& path, const SameFormat& format);

// "<stem> 회전.<ext>" in `format` at quality 0.9, no note. Throws "회전 실패".
ToolResult rotateImage(const std::filesystem::path& path, const SameFormat& format);

}  // namespace tavrino
