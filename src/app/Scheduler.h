#pragma once
// Delayed and repeating work on the GUI thread, behind an interface so that the hand-over
// between copies and the conflict window's polling can be driven by a fake clock in tests.

#include <functional>
#include <memory>

namespace tavrino::app {

// A repeating timer; destroying it stops it.
class Repeating {
  public:
    virtual ~Repeating() = default;
    virtual void stop() = 0;
};

class Scheduler {
  public:
    virtual ~Scheduler() = default;
    // Runs work once, `seconds` from now, on the GUI thread.
    virtual void after(double seconds, std::function<void()> work) = 0;
    // Runs work every `seconds` until the returned timer is stopped or destroyed.
    virtual std::unique_ptr<Repeating> every(double seconds, std::function<void()> work) = 0;
};

// The scheduler of the running program, on Qt timers of the main event loop.
Scheduler& qtScheduler();

}  // namespace tavrino::app
