#pragma once
// The hover animation of the petals: each petal's hover amount approaches 1 while it is
// hovered and 0 otherwise, exponentially with a 55 ms time constant. The blend factor comes
// from the real time between steps, so the speed does not depend on how often it is stepped.

#include <optional>
#include <vector>

namespace tavrino::wheel {

inline constexpr double hoverTimeConstant = 0.055;
// Closer than this to its target, an amount snaps onto it and stops moving.
inline constexpr double hoverSnap = 0.003;

// Advances every amount by dt seconds towards its target. Returns whether any amount is
// still moving; once none is, every amount is exactly 0 or 1.
bool stepHover(std::vector<double>& progress, std::optional<int> hovered, double dt);

// Smoothstep: how far a petal with hover amount p is lifted, lit and faded in.
double eased(double progress);

}  // namespace tavrino::wheel
