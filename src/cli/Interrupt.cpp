#include "cli/Interrupt.h"

#include <signal.h>

#include <cstdlib>
#include <iterator>

namespace tavrino::cli {
namespace {

constexpr int kCaught[] = {SIGINT, SIGTERM, SIGHUP};
volatile sig_atomic_t received = 0;
struct sigaction previous[std::size(kCaught)];

void note(int signal) {
    received = signal;
}

}  // namespace

InterruptWatch::InterruptWatch() {
    received = 0;
    struct sigaction action {};
    action.sa_handler = note;
    sigemptyset(&action.sa_mask);
    // Blocking calls go on as if nothing came; the next one back to the default action, so a
    // second Ctrl-C ends the program at once.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (std::size_t i = 0; i < std::size(kCaught); ++i)
        ::sigaction(kCaught[i], &action, &previous[i]);
}

InterruptWatch::~InterruptWatch() {
    for (std::size_t i = 0; i < std::size(kCaught); ++i)
        ::sigaction(kCaught[i], &previous[i], nullptr);
}

bool InterruptWatch::interrupted() const {
    return received != 0;
}

void InterruptWatch::endBySignal() const {
    const int signal = received != 0 ? received : SIGINT;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
    ::raise(signal);
    std::_Exit(128 + signal);
}

}  // namespace tavrino::cli
