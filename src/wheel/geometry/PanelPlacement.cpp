#include "wheel/geometry/PanelPlacement.h"

#include <algorithm>

namespace tavrino::wheel {
namespace {

// Half-open in both directions, so a point on the edge between two screens belongs to one.
bool contains(const Rect& rect, Point p) {
    return rect.x <= p.x && p.x < rect.x + rect.width && rect.y <= p.y &&
           p.y < rect.y + rect.height;
}

}  // namespace

Point panelOrigin(Point pointer, double panelWidth, double panelHeight,
                  std::span<const ScreenArea> screens) {
    Point origin{pointer.x - panelWidth / 2, pointer.y - panelHeight / 2};
    for (const ScreenArea& screen : screens) {
        if (!contains(screen.frame, pointer)) continue;
        const Rect& v = screen.visible;
        origin.x = std::min(std::max(origin.x, v.x), v.x + v.width - panelWidth);
        origin.y = std::max(std::min(origin.y, v.y + v.height - panelHeight), v.y);
        break;
    }
    return origin;
}

}  // namespace tavrino::wheel
