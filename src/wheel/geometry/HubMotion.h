#pragma once
// The moving parts of the working hub as functions of the working time t in seconds, so a
// dropped frame never slows them down.

namespace tavrino::wheel {

// Before this the working hub shows only its disc: a run that ends quickly never flickers.
inline constexpr double progressDelay = 0.3;
// From this on the hint replaces the secondary line.
inline constexpr double hintDelay = 2.0;
inline constexpr double spinnerRadius = 46;

// An arc drawn clockwise from startDeg through sweepDeg degrees: one turn every 1.1 s while
// its length breathes between 40 and 220 degrees every 1.6 s.
struct SpinnerArc {
    double startDeg;
    double sweepDeg;
};
SpinnerArc spinnerArc(double t);

// The reduced-motion indicator: the alpha of dot k (0, 1, 2) of a brightness wave that runs
// left to right once every 1.2 s.
double dotAlpha(double t, int dot);

}  // namespace tavrino::wheel
