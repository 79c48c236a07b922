#include "wheel/geometry/PanelMotion.h"

#include <algorithm>
#include <cmath>

namespace tavrino::wheel {
namespace {

constexpr double damping = 18;
constexpr double stiffness = 320;
constexpr double mass = 1;
// A swing of this fraction of the panel's 352 points is a tenth of a pixel at scale 2.
constexpr double settledAmplitude = 0.05 / 352;

struct Spring {
    double decay;      // zeta * omega0
    double frequency;  // damped angular frequency
};

Spring spring() {
    const double omega0 = std::sqrt(stiffness / mass);
    const double zeta = damping / (2 * std::sqrt(stiffness * mass));
    return {zeta * omega0, omega0 * std::sqrt(1 - zeta * zeta)};
}

}  // namespace

double popSettleTime() {
    const Spring s = spring();
    // The envelope of the swing around 1, with the sine term's largest weight folded in.
    const double amplitude = (1 - popFromScale) * std::hypot(1.0, s.decay / s.frequency);
    return std::log(amplitude / settledAmplitude) / s.decay;
}

double popScale(double t) {
    if (t <= 0) return popFromScale;
    if (t >= popSettleTime()) return 1;
    const Spring s = spring();
    const double envelope = (1 - popFromScale) * std::exp(-s.decay * t);
    return 1 - envelope *
                   (std::cos(s.frequency * t) + s.decay / s.frequency * std::sin(s.frequency * t));
}

double fadeInAlpha(double t) {
    return std::clamp(t / fadeInSeconds, 0.0, 1.0);
}
double fadeOutAlpha(double t) {
    return std::clamp(1 - t / fadeOutSeconds, 0.0, 1.0);
}

}  // namespace tavrino::wheel
