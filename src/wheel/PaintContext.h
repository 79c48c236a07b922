#pragma once
// What one drawing pass of the wheel shares: the painter, the coordinate conversion, the
// bounds and the colours built at the start of the pass.

#include <QPainter>

#include "wheel/WheelStyle.h"
#include "wheel/YUp.h"
#include "wheel/geometry/WheelGeometry.h"

namespace tavrino::wheel {

struct PaintContext {
    QPainter& painter;
    YUp yUp;
    Bounds bounds;
    WheelColors colors;
    double hairline;  // one device pixel, in points
};

}  // namespace tavrino::wheel
