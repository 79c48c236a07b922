#include "tools/Deskew.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tavrino {
namespace {

// A page of five lines of text-like strokes, dark on light or light on dark.
PixelBuffer lines(int width, int height, std::uint8_t paper, std::uint8_t ink) {
    PixelBuffer page{width, height, 1,
                     std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height, paper)};
    for (int line = 0; line < 5; ++line)
        for (int y = 30 + line * 36; y < 30 + line * 36 + 18; ++y)
            for (int x = 30; x < width - 30; ++x)
                if (x % 7 < 3) page.bytes[static_cast<std::size_t>(y) * width + x] = ink;
    return page;
}

// The rows between the lines hold no ink when the lines are level.
int inkInRow(const PixelBuffer& page, int y, std::uint8_t paper) {
    int count = 0;
    for (int x = 0; x < page.width; ++x) {
        const int v = page.bytes[static_cast<std::size_t>(y) * page.width + x];
        count += std::abs(v - paper) > 64;
    }
    return count;
}

TEST(Deskew, LevelLinesAndBlankPagesAreLeftAlone) {
    EXPECT_EQ(skewAngle(lines(400, 240, 250, 20)), 0);
    EXPECT_EQ(skewAngle(lines(400, 240, 30, 230)), 0);  // a dark theme
    const PixelBuffer blank{300, 200, 1, std::vector<std::uint8_t>(300 * 200, 255)};
    EXPECT_EQ(skewAngle(blank), 0);
    EXPECT_EQ(skewAngle(PixelBuffer{1, 1, 1, {0}}), 0);
}

TEST(Deskew, ATurnedPageIsMeasuredAndLevelled) {
    const PixelBuffer level = lines(500, 240, 235, 40);
    for (const double turn : {2.5, -1.5, 3.0}) {
        // Turning the level page by -turn makes its lines fall by `turn`.
        const PixelBuffer turned = levelled(level, -turn);
        EXPECT_GT(turned.width, level.width);  // the corners are kept
        EXPECT_GT(turned.height, level.height);
        const double measured = skewAngle(turned);
        EXPECT_NEAR(measured, turn, 0.25) << turn;
        // Straightened again, the gap between two lines is clear of ink from end to end.
        const PixelBuffer again = levelled(turned, measured);
        const int middle = again.height / 2;
        int clearRows = 0;
        for (int y = middle - 60; y < middle + 60; ++y)
            clearRows += inkInRow(again, y, 235) == 0;
        EXPECT_GE(clearRows, 20) << turn;
        int clearBefore = 0;
        for (int y = turned.height / 2 - 60; y < turned.height / 2 + 60; ++y)
            clearBefore += inkInRow(turned, y, 235) == 0;
        EXPECT_GT(clearRows, clearBefore + 10) << turn;  // turned, most rows cross a line
    }
}

TEST(Deskew, ALargeScanIsMeasuredFromSomeOfItsColumns) {
    // 6000 × 1200: more pixels than are scanned one by one.
    PixelBuffer wide{6000, 1200, 1, std::vector<std::uint8_t>(6000 * 1200, 235)};
    for (int line = 0; line < 20; ++line)
        for (int x = 50; x < 5950; ++x)
            for (int y = 0; y < 20; ++y) {
                const int row = 100 + line * 50 + y + x / 100;  // falling by about 0.57°
                if (x % 9 < 4 && row < wide.height)
                    wide.bytes[static_cast<std::size_t>(row) * wide.width + x] = 40;
            }
    EXPECT_NEAR(skewAngle(wide), 0.57, 0.15);
}

TEST(Deskew, ASmallTurnIsNotWorthResampling) {
    const PixelBuffer turned = levelled(lines(500, 240, 235, 40), 0.2);
    EXPECT_EQ(skewAngle(turned), 0);
}

TEST(Deskew, TheNewCornersShowThePaperNotInk) {
    const PixelBuffer turned = levelled(lines(400, 240, 235, 40), 3.0);
    EXPECT_EQ(turned.bytes.front(), 235);
    EXPECT_EQ(turned.bytes.back(), 235);
}

}  // namespace
}  // namespace tavrino
