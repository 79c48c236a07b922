#include "wheel/geometry/WheelGeometry.h"

#include <cmath>
#include <numbers>

namespace tavrino::wheel {
namespace {

constexpr double degrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}
constexpr double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

Point polar(Point origin, double radius, double angleDeg) {
    return {origin.x + radius * std::cos(radians(angleDeg)),
            origin.y + radius * std::sin(radians(angleDeg))};
}

// Degrees counterclockwise from `from` to `to`, in [0, 360).
double counterclockwiseTurn(double from, double to) {
    double turn = std::fmod(to - from, 360.0);
    if (turn < 0) turn += 360.0;
    return turn;
}

// The outward normal of a side travelled from a to b on a counterclockwise outline: the
// direction of travel turned right by 90 degrees.
double outwardNormal(Point a, Point b) {
    return degrees(std::atan2(-(b.x - a.x), b.y - a.y));
}

// The four corners of a petal core, in the order the outline visits them: the two ends of
// the outer arc (counterclockwise), then the two ends of the inner arc (clockwise).
struct CoreCorners {
    Point origin;
    double outerStart, outerEnd, innerStart, innerEnd;
    double outerRadius, innerRadius;
};

CoreCorners coreCorners(Bounds bounds, int petals, int index, double lift) {
    const Radii r = radii(bounds);
    const double mid = midAngle(petals, index);
    const double half = stepAngle(petals) / 2;
    // The straight sides sit gap/2 + corner = 15 points from the boundary rays; at a radius
    // the angle for that distance is 15/radius radians.
    const double outerInset = degrees((gap / 2 + corner) / r.core);
    const double innerInset = degrees((gap / 2 + corner) / coreInnerRadius);
    return {polar(center(bounds), lift, mid),
            mid - half + outerInset,
            mid + half - outerInset,
            mid + half - innerInset,
            mid - half + innerInset,
            r.core,
            coreInnerRadius};
}

ArcSegment cornerArc(Point vertex, double fromNormal, double toNormal) {
    return {vertex, corner, fromNormal, counterclockwiseTurn(fromNormal, toNormal)};
}

}  // namespace

Radii radii(Bounds bounds) {
    const double outer = bounds.width / 2 - ringInset;
    return {
        outer,       outer - corner,  coreInnerRadius, coreInnerRadius - corner, dividerInnerRadius,
        outer - gap, bounds.width / 2};
}

Point center(Bounds bounds) {
    return {bounds.width / 2, bounds.height / 2};
}

double stepAngle(int petals) {
    return petals > 0 ? 360.0 / petals : 360.0;
}

double midAngle(int petals, int index) {
    return 90.0 - stepAngle(petals) * index;
}

double boundaryAngle(int petals, int index) {
    return midAngle(petals, index) - stepAngle(petals) / 2;
}

std::optional<int> slotAt(Bounds bounds, int petals, Point point) {
    if (petals <= 0) return std::nullopt;
    const Point c = center(bounds);
    const double distance = std::hypot(point.x - c.x, point.y - c.y);
    if (distance < hubHitRadius || distance > bounds.width / 2) return std::nullopt;
    const double step = stepAngle(petals);
    const double clockwise = -degrees(std::atan2(point.y - c.y, point.x - c.x));
    double a = std::fmod(clockwise + 90 + step / 2, 360.0);
    if (a < 0) a += 360.0;
    return static_cast<int>(a / step) % petals;
}

Outline petalCore(Bounds bounds, int petals, int index, double lift) {
    const CoreCorners k = coreCorners(bounds, petals, index, lift);
    return {
        ArcSegment{k.origin, k.outerRadius, k.outerStart, k.outerEnd - k.outerStart},
        ArcSegment{k.origin, k.innerRadius, k.innerStart, k.innerEnd - k.innerStart},
        LineSegment{polar(k.origin, k.outerRadius, k.outerStart)},
    };
}

// The core's outline is counterclockwise, so growing it by `corner` moves every edge along
// its outward normal and puts a quarter-ish round arc around each of the four corners,
// turning from one edge's normal to the next. The inner arc is concave; grown, it keeps its
// centre and shrinks to radius 59.
Outline petalShape(Bounds bounds, int petals, int index, double lift) {
    const CoreCorners k = coreCorners(bounds, petals, index, lift);
    const Point outerStart = polar(k.origin, k.outerRadius, k.outerStart);
    const Point outerEnd = polar(k.origin, k.outerRadius, k.outerEnd);
    const Point innerStart = polar(k.origin, k.innerRadius, k.innerStart);
    const Point innerEnd = polar(k.origin, k.innerRadius, k.innerEnd);
    const double leftNormal = outwardNormal(outerEnd, innerStart);
    const double rightNormal = outwardNormal(innerEnd, outerStart);
    return {
        ArcSegment{k.origin, k.outerRadius + corner, k.outerStart, k.outerEnd - k.outerStart},
        cornerArc(outerEnd, k.outerEnd, leftNormal),
        cornerArc(innerStart, leftNormal, k.innerStart + 180),
        ArcSegment{k.origin, k.innerRadius - corner, k.innerStart, k.innerEnd - k.innerStart},
        cornerArc(innerEnd, k.innerEnd + 180, rightNormal),
        cornerArc(outerStart, rightNormal, k.outerStart),
    };
}

std::vector<Segment> dividerLines(Bounds bounds, int petals) {
    std::vector<Segment> lines;
    if (petals < 2) return lines;
    const Radii r = radii(bounds);
    const Point c = center(bounds);
    for (int i = 0; i < petals; ++i) {
        const double angle = boundaryAngle(petals, i);
        lines.push_back({polar(c, r.dividerInner, angle), polar(c, r.dividerOuter, angle)});
    }
    return lines;
}

Point labelCenter(Bounds bounds, int petals, int index, double eased) {
    const Radii r = radii(bounds);
    const double radius = maxLift * eased + (r.outer + r.inner) / 2;
    return polar(center(bounds), radius, midAngle(petals, index));
}

}  // namespace tavrino::wheel
