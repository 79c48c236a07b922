#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "wheel/geometry/HoverEasing.h"
#include "wheel/geometry/HubMotion.h"
#include "wheel/geometry/PanelMotion.h"
#include "wheel/geometry/PanelPlacement.h"

using namespace tavrino::wheel;

TEST(HoverEasing, ConvergesExactlyAndStops) {
    std::vector<double> progress{0, 0.7, 0, 0.2};
    int steps = 0;
    while (stepHover(progress, 2, 1.0 / 120))
        ASSERT_LT(++steps, 1000);
    EXPECT_EQ(progress, (std::vector<double>{0, 0, 1, 0}));
    // Once settled, another step moves nothing.
    EXPECT_FALSE(stepHover(progress, 2, 1.0 / 120));
    EXPECT_EQ(progress[2], 1.0);
}

TEST(HoverEasing, SpeedFollowsTimeNotSteps) {
    std::vector<double> fine{0, 0}, coarse{0, 0};
    for (int i = 0; i < 12; ++i)
        stepHover(fine, 0, 0.005);
    stepHover(coarse, 0, 0.06);
    EXPECT_NEAR(fine[0], coarse[0], 1e-12);
    EXPECT_NEAR(coarse[0], 1 - std::exp(-0.06 / 0.055), 1e-12);
}

TEST(HoverEasing, LeavingEveryPetalReturnsAllToZero) {
    std::vector<double> progress{1, 0.5};
    while (stepHover(progress, std::nullopt, 0.01)) {
    }
    EXPECT_EQ(progress, (std::vector<double>{0, 0}));
    EXPECT_EQ(eased(0.5), 0.5);
    EXPECT_EQ(eased(1), 1);
}

TEST(HubMotion, SpinnerTurnsClockwiseAndBreathes) {
    EXPECT_DOUBLE_EQ(spinnerArc(0).startDeg, 90);
    EXPECT_DOUBLE_EQ(spinnerArc(0).sweepDeg, 40);
    EXPECT_NEAR(spinnerArc(0.8).sweepDeg, 220, 1e-9);       // half the breathing period
    EXPECT_NEAR(spinnerArc(1.1).startDeg, 90 - 360, 1e-9);  // one full clockwise turn
}

TEST(HubMotion, DotWaveRunsLeftToRight) {
    // At t = 0.6 the first dot is at its brightest; the wave reaches dot k 0.24 s later.
    EXPECT_NEAR(dotAlpha(0.6, 0), 1.0, 1e-9);
    EXPECT_NEAR(dotAlpha(0.84, 1), 1.0, 1e-9);
    EXPECT_NEAR(dotAlpha(1.08, 2), 1.0, 1e-9);
    // Negative phases wrap into 0...1 instead of going dark.
    EXPECT_NEAR(dotAlpha(0, 2), 0.3 + 0.7 * std::sin(std::numbers::pi * 0.6), 1e-9);
    for (double t = 0; t < 3; t += 0.05) {
        for (int k = 0; k < 3; ++k) {
            EXPECT_GE(dotAlpha(t, k), 0.3);
            EXPECT_LE(dotAlpha(t, k), 1.0);
        }
    }
}

TEST(PanelMotion, SpringPopsInWithOvershootAndSettles) {
    EXPECT_EQ(popScale(0), 0.86);
    double highest = 0;
    for (double t = 0; t < popSettleTime(); t += 0.005)
        highest = std::max(highest, popScale(t));
    EXPECT_GT(highest, 1.0);  // the slight overshoot of an underdamped spring
    EXPECT_LT(highest, 1.05);
    EXPECT_GT(popSettleTime(), 0.4);
    EXPECT_LT(popSettleTime(), 1.2);
    EXPECT_EQ(popScale(popSettleTime()), 1.0);
    EXPECT_NEAR(popScale(popSettleTime() - 0.001), 1.0, 0.001);
}

TEST(PanelMotion, FadesClampToTheirEnds) {
    EXPECT_EQ(fadeInAlpha(0), 0);
    EXPECT_NEAR(fadeInAlpha(0.06), 0.5, 1e-9);
    EXPECT_EQ(fadeInAlpha(0.5), 1);
    EXPECT_EQ(fadeOutAlpha(0), 1);
    EXPECT_EQ(fadeOutAlpha(0.16), 0);
    EXPECT_EQ(fadeOutAlpha(-1), 1);
}

namespace {
// A 1920 x 1080 screen with a 32-point panel along its top.
const std::array<ScreenArea, 2> screens{{
    {{0, 0, 1920, 1080}, {0, 32, 1920, 1048}},
    {{1920, 0, 1280, 1024}, {1920, 0, 1280, 1024}},
}};
}  // namespace

TEST(PanelPlacement, CentredOnThePointerInsideTheScreen) {
    EXPECT_EQ(panelOrigin({960, 540}, 352, 352, screens), (Point{784, 364}));
    EXPECT_EQ(panelOrigin({2500, 500}, 352, 352, screens), (Point{2324, 324}));
}

TEST(PanelPlacement, CornersPushThePanelInside) {
    // 10 points inside the bottom-left corner of the visible area.
    EXPECT_EQ(panelOrigin({10, 1070}, 352, 352, screens), (Point{0, 1080 - 352}));
    // Under the top panel: kept below it.
    EXPECT_EQ(panelOrigin({1910, 35}, 352, 352, screens), (Point{1920 - 352, 32}));
    // The right screen's left edge belongs to it, not to the first screen.
    EXPECT_EQ(panelOrigin({1920, 10}, 352, 352, screens), (Point{1920, 0}));
}

TEST(PanelPlacement, OffEveryScreenStaysCentred) {
    EXPECT_EQ(panelOrigin({-500, -500}, 352, 352, screens), (Point{-676, -676}));
}

TEST(PanelPlacement, TinyScreenAlignsRightAndTopEdges) {
    const std::array<ScreenArea, 1> tiny{{{{0, 0, 300, 200}, {0, 20, 300, 180}}}};
    const Point origin = panelOrigin({150, 100}, 352, 352, tiny);
    EXPECT_EQ(origin.x, 300 - 352);  // the right edge on the visible right edge
    EXPECT_EQ(origin.y, 20);         // the top edge on the visible top edge
}
