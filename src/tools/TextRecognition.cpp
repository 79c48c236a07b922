#include "tools/TextRecognition.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace tavrino {
namespace {

// Lines the engine is this unsure of are what it makes of photos, textures and icons.
constexpr float minimumConfidence = 45.0F;
// Text lines lower than this (in pixels) are scaled up; the models read best near 50.
// A page read with at least this mean confidence is not read a second time.
constexpr float confidentPage = 80.0F;
// Pictures with at most this many bands of ink rows are read as one block of text.
constexpr std::size_t fewLinesAtMost = 6;
constexpr int smallLine = 32;
constexpr int targetLine = 52;
constexpr int maxScale = 4;

PixelBuffer greyOverWhite(const PixelBuffer& pixels) {
    PixelBuffer grey{pixels.width, pixels.height, 1, {}};
    grey.bytes.resize(static_cast<std::size_t>(pixels.width) * pixels.height);
    const int bands = pixels.bands;
    for (std::size_t i = 0; i < grey.bytes.size(); ++i) {
        const std::uint8_t* p = &pixels.bytes[i * bands];
        int value = bands >= 3 ? (p[0] * 299 + p[1] * 587 + p[2] * 114) / 1000 : p[0];
        if (pixels.hasAlpha()) {
            const int alpha = p[bands - 1];
            value = (value * alpha + 255 * (255 - alpha)) / 255;
        }
        grey.bytes[i] = static_cast<std::uint8_t>(value);
    }
    return grey;
}

int borderMean(const PixelBuffer& grey) {
    long long sum = 0;
    long long count = 0;
    for (int x = 0; x < grey.width; ++x) {
        sum += grey.bytes[x] + grey.bytes[(grey.height - 1) * std::size_t(grey.width) + x];
        count += 2;
    }
    for (int y = 0; y < grey.height; ++y) {
        sum += grey.bytes[y * std::size_t(grey.width)] +
               grey.bytes[y * std::size_t(grey.width) + grey.width - 1];
        count += 2;
    }
    return count ? static_cast<int>(sum / count) : 255;
}

// The heights of the bands of rows that hold dark pixels: a cheap measure of the text's
// lines that needs no layout analysis.
std::vector<int> inkBands(const PixelBuffer& grey) {
    std::vector<int> runs;
    int run = 0;
    for (int y = 0; y < grey.height; ++y) {
        const std::uint8_t* row = &grey.bytes[y * std::size_t(grey.width)];
        const bool ink = std::any_of(row, row + grey.width, [](std::uint8_t v) { return v < 128; });
        if (ink) {
            ++run;
        } else if (run > 0) {
            runs.push_back(run);
            run = 0;
        }
    }
    if (run > 0) runs.push_back(run);
    return runs;
}

// The median band height; 0 when no row holds ink.
int typicalLineHeight(const PixelBuffer& grey) {
    std::vector<int> runs = inkBands(grey);
    if (runs.empty()) return 0;
    std::nth_element(runs.begin(), runs.begin() + runs.size() / 2, runs.end());
    return runs[runs.size() / 2];
}

PixelBuffer scaledUp(const PixelBuffer& grey, int scale) {
    PixelBuffer out{grey.width * scale, grey.height * scale, 1, {}};
    out.bytes.resize(static_cast<std::size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y) {
        const double sy = std::clamp((y + 0.5) / scale - 0.5, 0.0, grey.height - 1.0);
        const int y0 = static_cast<int>(sy);
        const int y1 = std::min(y0 + 1, grey.height - 1);
        const double fy = sy - y0;
        for (int x = 0; x < out.width; ++x) {
            const double sx = std::clamp((x + 0.5) / scale - 0.5, 0.0, grey.width - 1.0);
            const int x0 = static_cast<int>(sx);
            const int x1 = std::min(x0 + 1, grey.width - 1);
            const double fx = sx - x0;
            auto at = [&](int yy, int xx) { return grey.bytes[yy * std::size_t(grey.width) + xx]; };
            const double top = at(y0, x0) * (1 - fx) + at(y0, x1) * fx;
            const double bottom = at(y1, x0) * (1 - fx) + at(y1, x1) * fx;
            out.bytes[y * std::size_t(out.width) + x] =
                static_cast<std::uint8_t>(std::lround(top * (1 - fy) + bottom * fy));
        }
    }
    return out;
}

bool hasLetterOrDigit(const std::string& line) {
    return std::any_of(line.begin(), line.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x80 || std::isalnum(byte);
    });
}

struct Reading {
    std::string text;
    float confidence = 0;  // mean over the kept lines
};

Reading trusted(const std::vector<RecognizedLine>& lines) {
    Reading reading;
    int kept = 0;
    for (const RecognizedLine& line : lines) {
        if (line.confidence < minimumConfidence || !hasLetterOrDigit(line.text)) continue;
        if (!reading.text.empty()) reading.text += '\n';
        reading.text += line.text;
        reading.confidence += line.confidence;
        ++kept;
    }
    if (kept > 0) reading.confidence /= static_cast<float>(kept);
    return reading;
}

}  // namespace

PixelBuffer preparedForReading(const PixelBuffer& pixels) {
    PixelBuffer grey = greyOverWhite(pixels);
    if (grey.width == 0 || grey.height == 0) return grey;
    if (borderMean(grey) < 128) {
        for (std::uint8_t& v : grey.bytes)
            v = static_cast<std::uint8_t>(255 - v);
    }
    const int line = typicalLineHeight(grey);
    if (line > 0 && line < smallLine) {
        int scale = std::min(maxScale, (targetLine + line - 1) / line);
        // Never let the scaled copy grow past what any decoder of ours accepts.
        while (scale > 1 &&
               std::uint64_t(grey.width) * grey.height * scale * scale > maxImagePixels)
            --scale;
        if (scale > 1) return scaledUp(grey, scale);
    }
    return grey;
}

std::string recognizePicture(TextRecognizer& engine, const PixelBuffer& pixels) {
    const PixelBuffer prepared = preparedForReading(pixels);
    if (prepared.width < 3 || prepared.height < 3) return {};
    // The automatic layout sometimes drops part of a clean line or a whole one where reading
    // the picture as one block gets it all; a picture of a few lines (a screenshot, a label)
    // is read as one block, a page with many lines by layout analysis (columns, blocks).
    using Layout = TextRecognizer::Layout;
    const bool fewLines = inkBands(prepared).size() <= fewLinesAtMost;
    const Layout first = fewLines ? Layout::singleBlock : Layout::automatic;
    const Reading reading = trusted(engine.recognize(prepared, first));
    if (reading.confidence >= confidentPage) return reading.text;
    // An unsure page is read the other way too and the surer reading kept.
    const Layout other = fewLines ? Layout::automatic : Layout::singleBlock;
    const Reading second = trusted(engine.recognize(prepared, other));
    return second.confidence > reading.confidence ? second.text : reading.text;
}

}  // namespace tavrino
