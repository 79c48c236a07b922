#pragma once
// The wheel's shape as plain functions of the view's bounds, the petal count, a petal index
// and a point. Coordinates have the y axis pointing up with the origin at the bottom left;
// angles are degrees counterclockwise from +x. Nothing here is cached: every answer is
// derived from the bounds it is given, so a resized view never sees stale geometry.

#include <optional>
#include <variant>
#include <vector>

namespace tavrino::wheel {

struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

// The view's bounds; the origin is always (0, 0).
struct Bounds {
    double width = 0;
    double height = 0;
};

inline constexpr double hubRadius = 50;
inline constexpr double hubHitRadius = 54;
inline constexpr double ringInset = 14;
inline constexpr double corner = 12;
inline constexpr double gap = 6;
inline constexpr double maxLift = 2;
inline constexpr double coreInnerRadius = 71;
inline constexpr double dividerInnerRadius = 60;

struct Radii {
    double outer;         // outer edge of the petals, W/2 - ringInset
    double core;          // outer radius of the petal core, outer - corner
    double coreInner;     // inner radius of the petal core
    double inner;         // inner edge of the petals, coreInner - corner
    double dividerInner;  // where the divider lines start
    double dividerOuter;  // where they end, outer - gap
    double hitLimit;      // the farthest point that still hits a petal, W/2
};

Radii radii(Bounds bounds);
Point center(Bounds bounds);

double stepAngle(int petals);
// The centre line of petal i: petal 0 points up, the rest follow clockwise.
double midAngle(int petals, int index);
// The ray between petal i and petal i + 1.
double boundaryAngle(int petals, int index);

// The petal under a point, or none for the hub (closer than 54 to the centre), for points
// beyond W/2 and when there are no petals. A point on a boundary ray belongs to the petal
// that follows it clockwise.
std::optional<int> slotAt(Bounds bounds, int petals, Point point);

// An arc around center from startDeg, turning sweepDeg (positive counterclockwise).
struct ArcSegment {
    Point center;
    double radius;
    double startDeg;
    double sweepDeg;
};
// A straight line from the current point.
struct LineSegment {
    Point to;
};
using PathSegment = std::variant<ArcSegment, LineSegment>;
// A closed outline. A segment that starts where the previous one ended continues it; one
// that starts elsewhere is joined to it by a straight line.
using Outline = std::vector<PathSegment>;

// The core of petal i, moved outwards along its centre line by lift: the visible petal
// shrunk by `corner` on every side.
Outline petalCore(Bounds bounds, int petals, int index, double lift);
// The visible petal: its core grown by `corner` with round corners (the outline a round-join
// stroke of width 2 * corner around the core would give), spanning radii 59 to Rout.
Outline petalShape(Bounds bounds, int petals, int index, double lift);

struct Segment {
    Point from;
    Point to;
};
// One divider per boundary ray, none for fewer than two petals.
std::vector<Segment> dividerLines(Bounds bounds, int petals);

// The centre of petal i's label block for a hover amount e (0 to 1 after easing).
Point labelCenter(Bounds bounds, int petals, int index, double eased);

}  // namespace tavrino::wheel
