#pragma once
// Decoded pixels handed between our C-library wrappers: 8 bits per component, interleaved,
// rows packed without padding, top row first. 1 band is grey, 2 grey + alpha, 3 RGB,
// 4 RGB + alpha (straight, not premultiplied).

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavrino {

struct PixelBuffer {
    int width = 0;
    int height = 0;
    int bands = 0;
    std::vector<std::uint8_t> bytes;

    std::size_t rowBytes() const { return static_cast<std::size_t>(width) * bands; }
    bool hasAlpha() const { return bands == 2 || bands == 4; }
};

// A rectangle of a picture, in pixels.
struct PixelRegion {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRegion&) const = default;
};

// Borrowed pixels in the same layout, for encoders that only read them.
struct PixelView {
    int width = 0;
    int height = 0;
    int bands = 0;
    const std::uint8_t* data = nullptr;

    std::size_t rowBytes() const { return static_cast<std::size_t>(width) * bands; }
};

// The most pixels any decoder of ours accepts (about 268 megapixels, 16384 × 16384). Beyond
// that a file is refused before its pixels are decoded, so a small compressed file that
// claims an enormous size (a decompression bomb) cannot exhaust memory.
inline constexpr std::uint64_t maxImagePixels = 1ULL << 28;
// The most bytes the decoded samples of one picture may take (2 GiB: four 16-bit samples at
// the pixel limit). Pixels alone do not bound memory: a TIFF may declare hundreds of samples
// per pixel, and a single scanline of such a file can outgrow the machine.
inline constexpr std::uint64_t maxImageBytes = maxImagePixels * 8;
// The most samples per pixel a picture may have: colour, alpha and a few extra channels. A
// file that claims thousands is no picture anyone drops on us, and its decoder would buffer
// a whole strip of them at once.
inline constexpr int maxImageBands = 16;

}  // namespace tavrino
