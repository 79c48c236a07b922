#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "wheel/geometry/WheelGeometry.h"

using namespace tavrino::wheel;

namespace {

constexpr Bounds wheel352{352, 352};

Point around(double radius, double angleDeg) {
    const double a = angleDeg * std::numbers::pi / 180;
    return {176 + radius * std::cos(a), 176 + radius * std::sin(a)};
}

double distance(Point a, Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

Point arcStart(const ArcSegment& arc) {
    const double a = arc.startDeg * std::numbers::pi / 180;
    return {arc.center.x + arc.radius * std::cos(a), arc.center.y + arc.radius * std::sin(a)};
}

Point arcEnd(const ArcSegment& arc) {
    const double a = (arc.startDeg + arc.sweepDeg) * std::numbers::pi / 180;
    return {arc.center.x + arc.radius * std::cos(a), arc.center.y + arc.radius * std::sin(a)};
}

}  // namespace

TEST(WheelGeometry, DerivedRadiiOfTheStandardWheel) {
    const Radii r = radii(wheel352);
    EXPECT_EQ(r.outer, 162);
    EXPECT_EQ(r.core, 150);
    EXPECT_EQ(r.coreInner, 71);
    EXPECT_EQ(r.inner, 59);
    EXPECT_EQ(r.dividerInner, 60);
    EXPECT_EQ(r.dividerOuter, 156);
    EXPECT_EQ(r.hitLimit, 176);
}

TEST(WheelGeometry, SlotsAroundSixPetals) {
    EXPECT_EQ(slotAt(wheel352, 6, {176, 276}), 0);  // straight up
    EXPECT_EQ(slotAt(wheel352, 6, {176, 76}), 3);   // straight down
    // Points exactly on a boundary ray go to the petal that follows clockwise.
    EXPECT_EQ(slotAt(wheel352, 6, {276, 176}), 2);  // 0 degrees: between petals 1 and 2
    EXPECT_EQ(slotAt(wheel352, 6, {76, 176}), 5);   // 180 degrees: between petals 4 and 5
}

TEST(WheelGeometry, HubAndOuterLimitsAreInclusiveForPetals) {
    EXPECT_EQ(slotAt(wheel352, 6, around(53.9, 90)), std::nullopt);
    EXPECT_EQ(slotAt(wheel352, 6, around(54, 90)), 0);
    EXPECT_EQ(slotAt(wheel352, 6, around(176, 90)), 0);
    EXPECT_EQ(slotAt(wheel352, 6, around(176.1, 90)), std::nullopt);
    EXPECT_EQ(slotAt(wheel352, 0, around(100, 90)), std::nullopt);
}

TEST(WheelGeometry, OnePetalOwnsTheWholeRing) {
    for (double angle = 0; angle < 360; angle += 7.5) {
        EXPECT_EQ(slotAt(wheel352, 1, around(120, angle)), 0) << angle;
    }
}

TEST(WheelGeometry, EveryPointOfTheRingBelongsToThePetalAroundIt) {
    for (int n : {2, 5, 7, 9}) {
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(slotAt(wheel352, n, around(110, midAngle(n, i))), i) << n;
            // Just clockwise of the boundary after petal i is the next petal.
            EXPECT_EQ(slotAt(wheel352, n, around(110, boundaryAngle(n, i) - 0.01)), (i + 1) % n);
        }
    }
}

TEST(WheelGeometry, PetalCoreArcsOfTheTopPetal) {
    const Outline core = petalCore(wheel352, 6, 0, 0);
    ASSERT_GE(core.size(), 2u);
    const auto& outer = std::get<ArcSegment>(core[0]);
    EXPECT_EQ(outer.center, (Point{176, 176}));
    EXPECT_EQ(outer.radius, 150);
    EXPECT_NEAR(outer.startDeg, 65.7296, 1e-4);
    EXPECT_NEAR(outer.startDeg + outer.sweepDeg, 114.2704, 1e-4);
    EXPECT_GT(outer.sweepDeg, 0);  // counterclockwise
    const auto& inner = std::get<ArcSegment>(core[1]);
    EXPECT_EQ(inner.radius, 71);
    EXPECT_NEAR(inner.startDeg, 107.8953, 1e-4);
    EXPECT_NEAR(inner.startDeg + inner.sweepDeg, 72.1047, 1e-4);
    EXPECT_LT(inner.sweepDeg, 0);  // clockwise

    const Outline lifted = petalCore(wheel352, 6, 0, 2);
    EXPECT_EQ(std::get<ArcSegment>(lifted[0]).center, (Point{176, 178}));
    EXPECT_EQ(std::get<ArcSegment>(lifted[1]).center, (Point{176, 178}));
}

TEST(WheelGeometry, VisiblePetalSpansItsRadiiWithRoundCorners) {
    for (int n : {1, 3, 6, 8}) {
        const Outline shape = petalShape(wheel352, n, 0, 0);
        ASSERT_EQ(shape.size(), 6u);
        const auto& outer = std::get<ArcSegment>(shape[0]);
        const auto& inner = std::get<ArcSegment>(shape[3]);
        EXPECT_EQ(outer.radius, 162) << n;
        EXPECT_EQ(inner.radius, 59) << n;
        for (size_t corner : {1u, 2u, 4u, 5u}) {
            const auto& arc = std::get<ArcSegment>(shape[corner]);
            EXPECT_EQ(arc.radius, 12);
            EXPECT_GT(arc.sweepDeg, 0) << n << " corner " << corner;
            EXPECT_LT(arc.sweepDeg, 180) << n << " corner " << corner;
        }
        // The arcs of the ring and the corners meet without a gap; only the sides between
        // the corners 1-2 and 4-5 are straight lines.
        auto arc = [&](size_t k) { return std::get<ArcSegment>(shape[k]); };
        EXPECT_NEAR(distance(arcEnd(arc(0)), arcStart(arc(1))), 0, 1e-9);
        EXPECT_NEAR(distance(arcEnd(arc(2)), arcStart(arc(3))), 0, 1e-9);
        EXPECT_NEAR(distance(arcEnd(arc(3)), arcStart(arc(4))), 0, 1e-9);
        EXPECT_NEAR(distance(arcEnd(arc(5)), arcStart(arc(0))), 0, 1e-9);
    }
}

TEST(WheelGeometry, NeighbouringPetalsKeepTheirGap) {
    // Both straight sides of the top petal run gap/2 = 3 points from their boundary rays
    // (120 degrees on the left, 60 on the right), so neighbours are about 6 points apart.
    const Outline shape = petalShape(wheel352, 6, 0, 0);
    auto arc = [&](size_t k) { return std::get<ArcSegment>(shape[k]); };
    auto rayDistance = [](Point p, double angleDeg) {
        const double a = angleDeg * std::numbers::pi / 180;
        return std::abs((p.x - 176) * std::sin(a) - (p.y - 176) * std::cos(a));
    };
    EXPECT_NEAR(rayDistance(arcEnd(arc(1)), 120), 3, 0.15);
    EXPECT_NEAR(rayDistance(arcStart(arc(2)), 120), 3, 0.15);
    EXPECT_NEAR(rayDistance(arcEnd(arc(4)), 60), 3, 0.15);
    EXPECT_NEAR(rayDistance(arcStart(arc(5)), 60), 3, 0.15);
}

TEST(WheelGeometry, DividersOnlyBetweenPetals) {
    EXPECT_TRUE(dividerLines(wheel352, 1).empty());
    const auto lines = dividerLines(wheel352, 6);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_NEAR(distance(lines[0].from, {176, 176}), 60, 1e-9);
    EXPECT_NEAR(distance(lines[0].to, {176, 176}), 156, 1e-9);
    EXPECT_NEAR(lines[0].to.x, around(156, 60).x, 1e-9);
    EXPECT_NEAR(lines[0].to.y, around(156, 60).y, 1e-9);
}

TEST(WheelGeometry, LabelsSitMidwayAndRiseWithTheHover) {
    EXPECT_NEAR(labelCenter(wheel352, 6, 0, 0).y, 176 + 110.5, 1e-9);
    EXPECT_NEAR(labelCenter(wheel352, 6, 0, 1).y, 176 + 112.5, 1e-9);
    EXPECT_NEAR(labelCenter(wheel352, 4, 1, 0).x, 176 + 110.5, 1e-9);
}
