#include "tools/TextBlocks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tavrino {
namespace {

PixelBuffer page(int width, int height, std::uint8_t background) {
    return {width, height, 1,
            std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height, background)};
}

// Draws a line of text-like ink: strokes two pixels wide every five, `height` tall.
void strokes(PixelBuffer& picture, int x, int y, int width, int height, std::uint8_t ink) {
    for (int yy = y; yy < y + height; ++yy)
        for (int xx = x; xx < x + width; ++xx)
            if ((xx - x) % 5 < 2) picture.bytes[yy * std::size_t(picture.width) + xx] = ink;
}

std::uint8_t at(const PixelBuffer& picture, int x, int y) {
    return picture.bytes[y * std::size_t(picture.width) + x];
}

TEST(TextBlocks, TwoColumnsAreReadLeftThenRightEachAsOneBlock) {
    PixelBuffer shot = page(400, 120, 255);
    for (int line = 0; line < 3; ++line) {
        strokes(shot, 10, 10 + line * 20, 150, 14, 0);   // left column
        strokes(shot, 230, 10 + line * 20, 150, 14, 0);  // right column, 70 px away
    }
    const int line = typicalInkHeight(shot);
    EXPECT_EQ(line, 14);
    const std::vector<TextBlock> blocks = textBlocks(shot, line);
    ASSERT_EQ(blocks.size(), 2U);
    EXPECT_EQ(blocks[0], (TextBlock{10, 10, 147, 54}));
    EXPECT_EQ(blocks[1], (TextBlock{230, 10, 147, 54}));
}

TEST(TextBlocks, WordGapsAndLineSpacingDoNotCut) {
    PixelBuffer shot = page(300, 80, 255);
    for (int word = 0; word < 4; ++word) {
        strokes(shot, 10 + word * 60, 10, 55, 14, 0);  // words 5 px apart
        strokes(shot, 10 + word * 60, 30, 55, 14, 0);  // the next line 6 px below
    }
    EXPECT_EQ(textBlocks(shot, typicalInkHeight(shot)).size(), 1U);
}

TEST(TextBlocks, InkRowsAreTheLinesOfABlockTopToBottom) {
    PixelBuffer shot = page(200, 80, 40);  // a dark theme: the rows are found all the same
    strokes(shot, 10, 10, 100, 12, 230);
    strokes(shot, 10, 26, 60, 12, 230);  // 4 px of line spacing
    strokes(shot, 10, 50, 80, 3, 230);   // an underline
    const TextBlock block{5, 5, 150, 60};
    const std::vector<TextBlock> rows = inkRows(shot, block);
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_EQ(rows[0], (TextBlock{5, 10, 150, 12}));
    EXPECT_EQ(rows[1], (TextBlock{5, 26, 150, 12}));
    EXPECT_EQ(rows[2], (TextBlock{5, 50, 150, 3}));
    EXPECT_TRUE(inkRows(shot, {150, 0, 50, 80}).empty());  // beside the text
    EXPECT_TRUE(inkRows(shot, {0, 0, 0, 0}).empty());
}

TEST(TextBlocks, ParagraphsFarApartAreReadTopToBottom) {
    PixelBuffer shot = page(200, 140, 255);
    strokes(shot, 10, 10, 100, 14, 0);
    strokes(shot, 10, 100, 100, 14, 0);  // 76 px below: a paragraph of its own
    const std::vector<TextBlock> blocks = textBlocks(shot, typicalInkHeight(shot));
    ASSERT_EQ(blocks.size(), 2U);
    EXPECT_EQ(blocks[0].y, 10);
    EXPECT_EQ(blocks[1].y, 100);
}

TEST(TextBlocks, ADarkBarOverALightBodyBecomesDarkOnLight) {
    PixelBuffer window = page(300, 100, 250);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 200; ++x)
            window.bytes[y * 300 + x] = 30;  // a title bar two thirds wide
    strokes(window, 10, 8, 80, 14, 230);     // its light title
    strokes(window, 10, 60, 200, 14, 20);    // dark text of the body
    const int line = typicalInkHeight(window);
    const std::vector<TextBlock> blocks = textBlocks(window, line);
    ASSERT_EQ(blocks.size(), 2U);
    // The bar's block is its title, not the bar: its edge is no stroke.
    EXPECT_EQ(blocks[0], (TextBlock{10, 8, 77, 14}));
    EXPECT_EQ(blocks[1], (TextBlock{10, 60, 197, 14}));

    const int margin = blockMargin(line);
    const PixelBuffer read = blocksDarkOnLight(window, blocks, margin);
    EXPECT_EQ(at(read, 10, 10), 255 - 230);  // the title's stroke is dark now
    EXPECT_EQ(at(read, 12, 10), 255 - 30);   // the bar between strokes is light
    ASSERT_GE(margin, 3);
    EXPECT_EQ(at(read, 7, 10), 255 - 30);  // so is the margin around the title
    EXPECT_EQ(at(read, 10, 62), 20);       // the body is left as it was
    EXPECT_EQ(at(read, 150, 20), 255);     // the rest of the bar is not shown at all
}

TEST(TextBlocks, AStrokeAsTallAsTheLineIsNotTrimmedAway) {
    PixelBuffer shot = page(200, 60, 255);
    for (int y = 20; y < 34; ++y)
        shot.bytes[y * 200 + 30] = 0;  // "l" first, as tall as the line
    strokes(shot, 40, 24, 100, 10, 0);
    const std::vector<TextBlock> blocks = textBlocks(shot, typicalInkHeight(shot));
    ASSERT_EQ(blocks.size(), 1U);
    EXPECT_EQ(blocks[0].x, 30);
    EXPECT_EQ(blocks[0].y, 20);
}

TEST(TextBlocks, APictureWithoutInkHasNoBlocksWhateverItsShade) {
    for (const std::uint8_t shade : {0, 128, 255}) {
        const PixelBuffer flat = page(120, 80, shade);
        EXPECT_EQ(typicalInkHeight(flat), 0);
        EXPECT_TRUE(textBlocks(flat, 10).empty()) << int(shade);
    }
    // A gentle gradient, like a photo's sky, has no edge to call ink either.
    PixelBuffer sky = page(256, 40, 0);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 256; ++x)
            sky.bytes[y * 256 + x] = static_cast<std::uint8_t>(96 + x / 2);
    EXPECT_TRUE(textBlocks(sky, 10).empty());
    EXPECT_TRUE(textBlocks(page(0, 0, 255), 10).empty());
}

TEST(TextBlocks, MarginsStayInsideThePicture) {
    EXPECT_EQ(withMargin({2, 3, 10, 10}, 5, 14, 100), (TextBlock{0, 0, 14, 18}));
    EXPECT_EQ(withMargin({20, 20, 10, 10}, 5, 100, 100), (TextBlock{15, 15, 20, 20}));
    // Two blocks as close as blocks can be never overlap once given their margins.
    const int line = 14;
    const TextBlock upper = withMargin({0, 10, 50, 14}, blockMargin(line), 100, 100);
    const TextBlock lower = withMargin({0, 10 + 14 + line, 50, 14}, blockMargin(line), 100, 100);
    EXPECT_LE(upper.y + upper.height, lower.y);
}

}  // namespace
}  // namespace tavrino
