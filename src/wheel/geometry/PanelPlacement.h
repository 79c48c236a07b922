#pragma once
// Where the wheel panel goes when it opens under the pointer.
//
// Unlike the wheel's own drawing, this works in Qt's global screen coordinates (y down),
// because that is what the pointer position and the screens' geometry come in. The rule it
// keeps: the panel is centred on the pointer, then pushed inside the visible area of the
// screen under the pointer; when that area is smaller than the panel, its right and TOP
// edges win, which in y-down coordinates means the top clamp is applied last.

#include <span>

#include "wheel/geometry/WheelGeometry.h"

namespace tavrino::wheel {

struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

struct ScreenArea {
    Rect frame;    // the whole screen
    Rect visible;  // without panels and docks
};

// The panel's top-left corner. A pointer on no screen leaves the panel centred on it.
Point panelOrigin(Point pointer, double panelWidth, double panelHeight,
                  std::span<const ScreenArea> screens);

}  // namespace tavrino::wheel
