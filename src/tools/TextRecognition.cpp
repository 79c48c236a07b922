#include "tools/TextRecognition.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "tools/Deskew.h"
#include "tools/MixedScriptWords.h"

namespace tavrino {
namespace {

// Lines the engine is this unsure of are what it makes of photos, textures and icons.
constexpr float minimumConfidence = 45.0F;
// A whole reading of at most this many letters needs this confidence.
constexpr std::size_t fewLetters = 2;
constexpr float sureOfFewLetters = 80.0F;
// A picture smaller than this either way cannot hold a line anyone could read.
constexpr int smallestPicture = 10;
// Text lines lower than this (in pixels) are scaled up; the models read best near 50.
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

// The letters and digits of a line: every non-ASCII character counts (Hangul, accented
// letters), ASCII only when alphanumeric.
std::size_t lettersAndDigits(const std::string& line) {
    std::size_t count = 0;
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 0x80 && (byte & 0xC0) != 0x80) || std::isalnum(byte)) ++count;
    }
    return count;
}

}  // namespace

float lineConfidence(const RecognizedLine& line) {
    // Tesseract's own figure for a line follows its least certain symbol: one smudged
    // syllable sank a clean line of nine words to 29 and the line was lost. The words
    // speak for the line instead, each as much as the letters it holds, and the middle of
    // them decides, so one bad word neither sinks a good line nor lifts a line of junk.
    std::vector<std::pair<float, std::size_t>> words;
    std::size_t letters = 0;
    for (const RecognizedWord& word : line.words) {
        const std::size_t count = std::max<std::size_t>(lettersAndDigits(word.text), 1);
        words.emplace_back(word.confidence, count);
        letters += count;
    }
    if (words.empty()) return 0;
    std::sort(words.begin(), words.end());
    std::size_t seen = 0;
    for (const auto& [confidence, count] : words) {
        seen += count;
        if (seen * 2 > letters) return confidence;
    }
    return words.back().first;
}

namespace {

// The lines the engine trusts, joined with "\n". What the engine makes of an icon, a
// chart or a texture is a line or two of one or two marks it is unsure of: a reading that
// short is kept only when the engine is sure of every word of it.
std::string trusted(const std::vector<RecognizedLine>& lines) {
    std::string text;
    std::size_t letters = 0;
    float least = 100;
    for (const RecognizedLine& line : lines) {
        const std::string words = line.text();
        const std::size_t count = lettersAndDigits(words);
        const float confidence = lineConfidence(line);
        if (confidence < minimumConfidence || count == 0) continue;
        if (!text.empty()) text += '\n';
        text += words;
        letters += count;
        for (const RecognizedWord& word : line.words)
            least = std::min(least, word.confidence);
    }
    if (letters <= fewLetters && least < sureOfFewLetters) return {};
    return text;
}

struct Rows {
    int top;
    int bottom;  // exclusive
};

Rows rowsOf(const RecognizedLine& line) {
    Rows rows{0, 0};
    for (const RecognizedWord& word : line.words) {
        if (word.box.height <= 0) continue;
        if (rows.bottom == rows.top) {
            rows = {word.box.y, word.box.y + word.box.height};
        } else {
            rows = {std::min(rows.top, word.box.y),
                    std::max(rows.bottom, word.box.y + word.box.height)};
        }
    }
    return rows;
}

bool overlapsHalf(const Rows& rows, const TextBlock& band) {
    const int overlap = std::min(rows.bottom, band.y + band.height) - std::max(rows.top, band.y);
    return overlap * 2 >= band.height;
}

// Reading a block as one block of lines, the engine now and then leaves out a line of it:
// it skips the line, or takes two close lines for one and reads only the first (the
// entries of a small dark menu). Each band of ink as high as the block's lines is meant to
// be one line read: a band that no line read covers alone is read again on its own, as one
// line, and put in its place, and a line that spans several bands gives way to the
// readings of its bands. Only a block the engine read lines from is searched: where it
// read nothing there is nothing it dropped, and a texture would be re-read band by band;
// and never more bands than lines were read, for the same reason.
void addDroppedLines(TextRecognizer& engine, const PixelBuffer& grey, const TextBlock& block,
                     std::vector<RecognizedLine>& lines) {
    if (lines.empty()) return;
    std::vector<TextBlock> bands = inkRows(grey, block);
    if (bands.size() < 2) return;
    std::vector<int> heights;
    for (const TextBlock& band : bands)
        heights.push_back(band.height);
    std::nth_element(heights.begin(), heights.begin() + heights.size() / 2, heights.end());
    const int typical = heights[heights.size() / 2];
    // Lower than half a line is a mark, an underline or the dots of a leader, not text.
    std::erase_if(bands, [typical](const TextBlock& band) {
        return band.height * 2 < typical || band.height > 2 * typical;
    });
    std::vector<bool> merged(lines.size(), false);
    std::vector<bool> covered(bands.size(), false);
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const Rows rows = rowsOf(lines[l]);
        std::vector<std::size_t> spanned;
        for (std::size_t b = 0; b < bands.size(); ++b)
            if (overlapsHalf(rows, bands[b])) spanned.push_back(b);
        if (spanned.size() == 1) covered[spanned.front()] = true;
        merged[l] = spanned.size() > 1;
    }
    std::vector<TextBlock> missed;
    for (std::size_t b = 0; b < bands.size(); ++b)
        if (!covered[b]) missed.push_back(bands[b]);
    if (missed.empty() || missed.size() > lines.size()) return;
    std::vector<RecognizedLine> kept;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const Rows rows = rowsOf(lines[l]);
        const bool givesWay =
            merged[l] && std::any_of(missed.begin(), missed.end(), [&](const TextBlock& band) {
                return overlapsHalf(rows, band);
            });
        if (!givesWay) kept.push_back(std::move(lines[l]));
    }
    lines = std::move(kept);
    for (const TextBlock& band : missed) {
        const int pad = std::max(2, band.height / 4);
        std::vector<RecognizedLine> read =
            engine.read({band.x - pad, band.y - pad, band.width + 2 * pad, band.height + 2 * pad},
                        TextRecognizer::Layout::singleLine);
        const auto at = std::find_if(lines.begin(), lines.end(), [&](const RecognizedLine& line) {
            return rowsOf(line).top > band.y;
        });
        lines.insert(at, read.begin(), read.end());
    }
}

}  // namespace

PreparedPicture preparedForReading(const PixelBuffer& pixels) {
    PreparedPicture prepared{greyOverWhite(pixels), {}};
    PixelBuffer& grey = prepared.grey;
    if (grey.width < smallestPicture || grey.height < smallestPicture) return prepared;
    if (const double skew = skewAngle(grey); skew != 0) grey = levelled(grey, skew);
    const int line = typicalInkHeight(grey);
    prepared.blocks = textBlocks(grey, line);
    const int margin = blockMargin(line);
    grey = blocksDarkOnLight(grey, prepared.blocks, margin);
    for (TextBlock& block : prepared.blocks)
        block = withMargin(block, margin, grey.width, grey.height);
    if (line > 0 && line < smallLine) {
        // Whole factors only: the engine read fractionally scaled text worse.
        int scale = std::min(maxScale, (targetLine + line - 1) / line);
        // Never let the scaled copy grow past what any decoder of ours accepts.
        while (scale > 1 &&
               std::uint64_t(grey.width) * grey.height * scale * scale > maxImagePixels)
            --scale;
        if (scale > 1) {
            grey = scaledUp(grey, scale);
            for (TextBlock& block : prepared.blocks)
                block = {block.x * scale, block.y * scale, block.width * scale,
                         block.height * scale};
        }
    }
    return prepared;
}

std::string recognizePicture(TextRecognizer& engine, const PixelBuffer& pixels) {
    const PreparedPicture prepared = preparedForReading(pixels);
    if (prepared.blocks.empty()) return {};
    struct Forget {
        TextRecognizer& engine;
        ~Forget() { engine.forgetPicture(); }
    } forget{engine};
    engine.setPicture(prepared.grey);
    std::vector<RecognizedLine> lines;
    for (const TextBlock& block : prepared.blocks) {
        std::vector<RecognizedLine> read = engine.read(block, TextRecognizer::Layout::singleBlock);
        addDroppedLines(engine, prepared.grey, block, read);
        lines.insert(lines.end(), read.begin(), read.end());
    }
    repairMixedScriptWords(engine, lines);
    return trusted(lines);
}

}  // namespace tavrino
