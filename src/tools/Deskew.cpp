#include "tools/Deskew.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace tavrino {
namespace {

// Photos of pages come turned by a few degrees; more than this is a picture turned on
// purpose, or no page at all.
constexpr double widestAngle = 4.0;
constexpr double step = 0.1;
// Below this the lines cross no row of their neighbours, and resampling would only blur.
constexpr double smallestTurn = 0.4;
// A pixel this far from the picture's median is ink, as the block splitter judges it.
constexpr int contrastLevel = 64;
// Enough ink points to judge by, few enough to keep the search quick on a large scan.
constexpr std::size_t sampledInk = 200000;
constexpr std::size_t scannedPixels = 4000000;

struct Point {
    int x;
    int y;
};

std::uint8_t medianOf(const PixelBuffer& grey) {
    std::array<std::size_t, 256> histogram{};
    for (const std::uint8_t v : grey.bytes)
        ++histogram[v];
    std::size_t seen = 0;
    for (int v = 0; v < 256; ++v) {
        seen += histogram[v];
        if (seen * 2 >= grey.bytes.size()) return static_cast<std::uint8_t>(v);
    }
    return 255;
}

// How sharply the ink gathers into rows once the rows are sheared by `degrees`: the sum
// of the squared ink counts of the rows, largest where the rows follow the lines.
double sharpness(const std::vector<Point>& ink, double degrees, int height, int width) {
    const double slope = std::tan(degrees * std::numbers::pi / 180.0);
    const int spread = static_cast<int>(std::ceil(std::abs(slope) * width)) + 1;
    std::vector<int> rows(static_cast<std::size_t>(height + 2 * spread), 0);
    for (const Point& p : ink) {
        const int row = static_cast<int>(std::lround(p.y - p.x * slope)) + spread;
        ++rows[static_cast<std::size_t>(std::clamp(row, 0, static_cast<int>(rows.size()) - 1))];
    }
    double sum = 0;
    for (const int count : rows)
        sum += static_cast<double>(count) * count;
    return sum;
}

}  // namespace

double skewAngle(const PixelBuffer& grey) {
    if (grey.width < 2 || grey.height < 2) return 0;
    const int background = medianOf(grey);
    // Every row counts (the slope shows in the rows); of a large picture only some columns
    // do, so that a huge noisy scan cannot make the list of ink points huge.
    const std::size_t pixels = static_cast<std::size_t>(grey.width) * grey.height;
    const int columnStep = static_cast<int>(pixels / scannedPixels + 1);
    std::vector<Point> ink;
    for (int y = 0; y < grey.height; ++y) {
        const std::uint8_t* row = &grey.bytes[static_cast<std::size_t>(y) * grey.width];
        for (int x = 0; x < grey.width; x += columnStep)
            if (std::abs(row[x] - background) > contrastLevel) ink.push_back({x, y});
    }
    if (ink.empty()) return 0;
    if (ink.size() > sampledInk) {
        const std::size_t every = ink.size() / sampledInk + 1;
        std::vector<Point> kept;
        for (std::size_t i = 0; i < ink.size(); i += every)
            kept.push_back(ink[i]);
        ink = std::move(kept);
    }
    const double level = sharpness(ink, 0, grey.height, grey.width);
    double best = 0;
    double bestSharpness = level;
    const int steps = static_cast<int>(std::lround(widestAngle / step));
    for (int i = -steps; i <= steps; ++i) {
        const double degrees = i * step;
        const double s = sharpness(ink, degrees, grey.height, grey.width);
        if (s > bestSharpness) {
            bestSharpness = s;
            best = degrees;
        }
    }
    return std::abs(best) < smallestTurn ? 0 : best;
}

PixelBuffer levelled(const PixelBuffer& grey, double degrees) {
    const std::uint8_t fill = medianOf(grey);
    const double a = degrees * std::numbers::pi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const int width = static_cast<int>(std::ceil(grey.width * c + grey.height * std::abs(s)));
    const int height = static_cast<int>(std::ceil(grey.height * c + grey.width * std::abs(s)));
    PixelBuffer out{width, height, 1,
                    std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height, fill)};
    const double cx = (grey.width - 1) / 2.0;
    const double cy = (grey.height - 1) / 2.0;
    const double ox = (width - 1) / 2.0;
    const double oy = (height - 1) / 2.0;
    const auto at = [&](int x, int y) -> double {
        if (x < 0 || y < 0 || x >= grey.width || y >= grey.height) return fill;
        return grey.bytes[static_cast<std::size_t>(y) * grey.width + x];
    };
    for (int v = 0; v < height; ++v) {
        for (int u = 0; u < width; ++u) {
            // The level row v comes from the source row that falls by the slope.
            const double du = u - ox;
            const double dv = v - oy;
            const double x = cx + du * c - dv * s;
            const double y = cy + du * s + dv * c;
            const int x0 = static_cast<int>(std::floor(x));
            const int y0 = static_cast<int>(std::floor(y));
            if (x0 < -1 || y0 < -1 || x0 >= grey.width || y0 >= grey.height) continue;
            const double fx = x - x0;
            const double fy = y - y0;
            const double top = at(x0, y0) * (1 - fx) + at(x0 + 1, y0) * fx;
            const double bottom = at(x0, y0 + 1) * (1 - fx) + at(x0 + 1, y0 + 1) * fx;
            out.bytes[static_cast<std::size_t>(v) * width + u] =
                static_cast<std::uint8_t>(std::lround(top * (1 - fy) + bottom * fy));
        }
    }
    return out;
}

}  // namespace tavrino
