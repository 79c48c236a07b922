#include "wheel/geometry/HoverEasing.h"

#include <cmath>

namespace tavrino::wheel {

bool stepHover(std::vector<double>& progress, std::optional<int> hovered, double dt) {
    const double k = std::exp(-dt / hoverTimeConstant);
    bool moving = false;
    for (size_t i = 0; i < progress.size(); ++i) {
        const double target = hovered && *hovered == static_cast<int>(i) ? 1.0 : 0.0;
        progress[i] += (1 - k) * (target - progress[i]);
        if (std::abs(target - progress[i]) < hoverSnap) {
            progress[i] = target;
        } else {
            moving = true;
        }
    }
    return moving;
}

double eased(double progress) {
    return progress * progress * (3 - 2 * progress);
}

}  // namespace tavrino::wheel
