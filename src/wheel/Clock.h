#pragma once
// The monotonic clock every wheel animation reads, in seconds. Replaceable per view so that
// tests can step time by hand.

#include <functional>

namespace tavrino::wheel {

using Clock = std::function<double()>;

// Seconds of the steady clock since an arbitrary start.
double monotonicSeconds();

}  // namespace tavrino::wheel
