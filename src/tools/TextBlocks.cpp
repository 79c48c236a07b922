#include "tools/TextBlocks.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

namespace tavrino {
namespace {

// A pixel this far from its row's (or column's) median is ink or an edge, not background:
// well above JPEG noise and the lighting drift across a photographed page, well below the
// contrast of grey placeholder text on white.
constexpr int contrastLevel = 64;
// Bands are cut at empty rows at least a line high: closer lines are one paragraph.
constexpr double rowGapInLines = 1.0;
// Columns are cut at empty columns wider than this many lines: word gaps are a third of a
// line, the gutter between two columns is wider than a line.
constexpr double columnGapInLines = 1.5;
constexpr int maxDepth = 8;
constexpr int edgePixels = 2;
// A texture or a noisy photo would cut into crumbs; past this many blocks it is read whole.
constexpr std::size_t maxBlocks = 400;

std::uint8_t medianOf(const std::array<int, 256>& histogram, int count) {
    int seen = 0;
    for (int v = 0; v < 256; ++v) {
        seen += histogram[v];
        if (seen * 2 >= count) return static_cast<std::uint8_t>(v);
    }
    return 255;
}

// For each row (rows == true) or column of `block`: does it hold ink, a pixel far from the
// block's background (its median)? The background of the whole block, not of each row: a
// row through the tops of a line of small letters is mostly grey strokes. A dark bar on a
// light page is ink at first; cut out, it becomes a block with a dark background of its own.
std::vector<bool> contrastProfile(const PixelBuffer& grey, const TextBlock& block, bool rows) {
    std::vector<bool> profile(static_cast<std::size_t>(rows ? block.height : block.width), false);
    std::array<int, 256> histogram{};
    for (int y = block.y; y < block.y + block.height; ++y) {
        const std::uint8_t* row = &grey.bytes[static_cast<std::size_t>(y) * grey.width];
        for (int x = block.x; x < block.x + block.width; ++x)
            ++histogram[row[x]];
    }
    const int background = medianOf(histogram, block.width * block.height);
    for (int y = block.y; y < block.y + block.height; ++y) {
        const std::uint8_t* row = &grey.bytes[static_cast<std::size_t>(y) * grey.width];
        for (int x = block.x; x < block.x + block.width; ++x) {
            if (std::abs(row[x] - background) <= contrastLevel) continue;
            if (rows) {
                profile[static_cast<std::size_t>(y - block.y)] = true;
                break;
            }
            profile[static_cast<std::size_t>(x - block.x)] = true;
        }
    }
    return profile;
}

struct Run {
    int start;
    int length;
};

// The runs of `value` in `profile`, in order.
std::vector<Run> runsOf(const std::vector<bool>& profile, bool value) {
    std::vector<Run> runs;
    for (std::size_t i = 0; i < profile.size();) {
        if (profile[i] != value) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < profile.size() && profile[i] == value)
            ++i;
        runs.push_back({static_cast<int>(start), static_cast<int>(i - start)});
    }
    return runs;
}

// `block` shrunk to its first and last rows and columns with ink; empty (width 0) when it
// has none.
TextBlock trimmed(const PixelBuffer& grey, TextBlock block) {
    const std::vector<Run> rows = runsOf(contrastProfile(grey, block, true), true);
    if (rows.empty()) return {};
    const int top = rows.front().start;
    block = {block.x, block.y + top, block.width, rows.back().start + rows.back().length - top};
    const std::vector<Run> columns = runsOf(contrastProfile(grey, block, false), true);
    if (columns.empty()) return {};
    const int left = columns.front().start;
    return {block.x + left, block.y, columns.back().start + columns.back().length - left,
            block.height};
}

// The pieces of `block` between empty runs at least `minGap` long, along rows or columns.
// The gaps are left out: they show the background around the block, which need not be a
// piece's own (the light page beside a dark bar).
std::vector<TextBlock> split(const PixelBuffer& grey, const TextBlock& block, bool rows,
                             int minGap) {
    const int end = rows ? block.height : block.width;
    std::vector<TextBlock> pieces;
    int start = 0;
    const auto add = [&](int from, int to) {
        if (rows) {
            pieces.push_back({block.x, block.y + from, block.width, to - from});
        } else {
            pieces.push_back({block.x + from, block.y, to - from, block.height});
        }
    };
    for (const Run& gap : runsOf(contrastProfile(grey, block, rows), false)) {
        if (gap.length < minGap || gap.start == 0 || gap.start + gap.length >= end) continue;
        add(start, gap.start);
        start = gap.start + gap.length;
    }
    if (pieces.empty()) return {};
    add(start, end);
    return pieces;
}

void cut(const PixelBuffer& grey, const TextBlock& area, int line, int depth,
         std::vector<TextBlock>& out) {
    // Trimmed until it holds still: a dark bar trimmed against the light page around it
    // is trimmed again against its own dark background, down to its text.
    TextBlock block = trimmed(grey, area);
    for (TextBlock again = block; block.width > 0; block = again) {
        again = trimmed(grey, block);
        if (again == block) break;
    }
    if (block.width == 0 || out.size() > maxBlocks) return;
    if (depth < maxDepth) {
        const int rowGap = std::max(4, static_cast<int>(line * rowGapInLines));
        std::vector<TextBlock> pieces = split(grey, block, true, rowGap);
        if (pieces.empty()) {
            const int columnGap = std::max(8, static_cast<int>(line * columnGapInLines));
            pieces = split(grey, block, false, columnGap);
        }
        if (!pieces.empty()) {
            for (const TextBlock& piece : pieces)
                cut(grey, piece, line, depth + 1, out);
            return;
        }
    }
    out.push_back(block);
}

}  // namespace

int typicalInkHeight(const PixelBuffer& grey) {
    if (grey.width == 0 || grey.height == 0) return 0;
    std::vector<int> heights;
    for (const Run& run :
         runsOf(contrastProfile(grey, {0, 0, grey.width, grey.height}, true), true))
        heights.push_back(run.length);
    if (heights.empty()) return 0;
    std::nth_element(heights.begin(), heights.begin() + heights.size() / 2, heights.end());
    return heights[heights.size() / 2];
}

std::vector<TextBlock> textBlocks(const PixelBuffer& grey, int line) {
    if (line <= 0) return {};
    const TextBlock whole{0, 0, grey.width, grey.height};
    std::vector<TextBlock> blocks;
    cut(grey, whole, line, 0, blocks);
    if (blocks.size() > maxBlocks) blocks = {trimmed(grey, whole)};
    return blocks;
}

std::vector<TextBlock> inkRows(const PixelBuffer& grey, const TextBlock& block) {
    std::vector<TextBlock> rows;
    if (block.width <= 0 || block.height <= 0) return rows;
    for (const Run& run : runsOf(contrastProfile(grey, block, true), true))
        rows.push_back({block.x, block.y + run.start, block.width, run.length});
    return rows;
}

int blockMargin(int line) {
    return std::max(4, static_cast<int>(line * rowGapInLines)) / 2;
}

TextBlock withMargin(const TextBlock& block, int margin, int width, int height) {
    const int left = std::max(0, block.x - margin);
    const int top = std::max(0, block.y - margin);
    return {left, top, std::min(width, block.x + block.width + margin) - left,
            std::min(height, block.y + block.height + margin) - top};
}

PixelBuffer blocksDarkOnLight(const PixelBuffer& grey, const std::vector<TextBlock>& blocks,
                              int margin) {
    PixelBuffer page{grey.width, grey.height, 1,
                     std::vector<std::uint8_t>(grey.bytes.size(), std::uint8_t{255})};
    for (const TextBlock& block : blocks) {
        // The faint edges of the outermost strokes lie just outside the block.
        const TextBlock copied = withMargin(block, edgePixels, grey.width, grey.height);
        // The background is what most of the block and its margin shows: a block trimmed to
        // its ink may be mostly ink.
        const TextBlock judged = withMargin(block, margin, grey.width, grey.height);
        std::array<int, 256> histogram{};
        for (int y = judged.y; y < judged.y + judged.height; ++y) {
            const std::uint8_t* row = &grey.bytes[static_cast<std::size_t>(y) * grey.width];
            for (int x = judged.x; x < judged.x + judged.width; ++x)
                ++histogram[row[x]];
        }
        const std::uint8_t background = medianOf(histogram, judged.width * judged.height);
        const bool invert = background < 128;
        // The margin shows the block's own background: a grey photographed page framed in
        // white would make the engine's threshold split frame from paper instead of ink
        // from paper.
        const std::uint8_t fill = invert ? static_cast<std::uint8_t>(255 - background) : background;
        for (int y = judged.y; y < judged.y + judged.height; ++y) {
            std::uint8_t* row = &page.bytes[static_cast<std::size_t>(y) * grey.width];
            std::fill(row + judged.x, row + judged.x + judged.width, fill);
        }
        for (int y = copied.y; y < copied.y + copied.height; ++y) {
            const std::size_t row = static_cast<std::size_t>(y) * grey.width;
            for (int x = copied.x; x < copied.x + copied.width; ++x) {
                const std::uint8_t v = grey.bytes[row + x];
                page.bytes[row + x] = invert ? static_cast<std::uint8_t>(255 - v) : v;
            }
        }
    }
    return page;
}

}  // namespace tavrino
