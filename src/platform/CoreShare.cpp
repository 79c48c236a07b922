#include "platform/CoreShare.h"

#include <algorithm>
#include <atomic>

#include "platform/Machine.h"

namespace tavrino {
namespace {

std::atomic<unsigned> sharesHeld{0};

}  // namespace

CoreShare::CoreShare() {
    ++sharesHeld;
}

CoreShare::~CoreShare() {
    if (held_) --sharesHeld;
}

CoreShare::CoreShare(CoreShare&& other) noexcept : held_(other.held_) {
    other.held_ = false;
}

CoreShare& CoreShare::operator=(CoreShare&& other) noexcept {
    if (this != &other) {
        if (held_) --sharesHeld;
        held_ = other.held_;
        other.held_ = false;
    }
    return *this;
}

void CoreShare::release() {
    if (held_) --sharesHeld;
    held_ = false;
}

unsigned coresPerJob() {
    const unsigned shares = std::max(1u, sharesHeld.load());
    return std::max(1u, (usableCores() + shares - 1) / shares);
}

}  // namespace tavrino
