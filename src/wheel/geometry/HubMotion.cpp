#include "wheel/geometry/HubMotion.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tavrino::wheel {

SpinnerArc spinnerArc(double t) {
    constexpr double pi = std::numbers::pi;
    const double start = 90.0 - 360.0 * t / 1.1;
    const double sweep = 40.0 + 180.0 * (0.5 - 0.5 * std::cos(2 * pi * t / 1.6));
    return {start, sweep};
}

double dotAlpha(double t, int dot) {
    const double phase = t / 1.2 - 0.2 * dot;
    const double f = phase - std::floor(phase);
    return 0.3 + 0.7 * std::max(0.0, std::sin(std::numbers::pi * f));
}

}  // namespace tavrino::wheel
