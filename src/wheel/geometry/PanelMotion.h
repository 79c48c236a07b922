#pragma once
// How the wheel panel appears and disappears, as functions of the time since the change.

namespace tavrino::wheel {

inline constexpr double popFromScale = 0.86;
inline constexpr double fadeInSeconds = 0.12;
inline constexpr double fadeOutSeconds = 0.16;

// The pop-in scale: a damped spring (damping 18, stiffness 320, mass 1) released at 0.86
// with no speed, settling on 1 with a slight overshoot. Exactly 1 from popSettleTime() on.
double popScale(double t);
// When the spring's swing has died below a tenth of a pixel on the 352-point panel.
double popSettleTime();

// Window alpha while fading in and out; clamped to 0...1.
double fadeInAlpha(double t);
double fadeOutAlpha(double t);

}  // namespace tavrino::wheel
