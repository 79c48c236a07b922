#include "wheel/YUp.h"

namespace tavrino::wheel {

QPainterPath YUp::path(const Outline& outline) const {
    QPainterPath result;
    bool first = true;
    for (const PathSegment& segment : outline) {
        if (const auto* arc = std::get_if<ArcSegment>(&segment)) {
            const QPointF c = toQt(arc->center);
            const QRectF box(c.x() - arc->radius, c.y() - arc->radius, 2 * arc->radius,
                             2 * arc->radius);
            if (first) result.arcMoveTo(box, arc->startDeg);
            result.arcTo(box, arc->startDeg, arc->sweepDeg);
        } else {
            const QPointF to = toQt(std::get<LineSegment>(segment).to);
            if (first) {
                result.moveTo(to);
            } else {
                result.lineTo(to);
            }
        }
        first = false;
    }
    result.closeSubpath();
    return result;
}

}  // namespace tavrino::wheel
