#include "wheel/Clock.h"

#include <chrono>

namespace tavrino::wheel {

double monotonicSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace tavrino::wheel
