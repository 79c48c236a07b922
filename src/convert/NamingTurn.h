#pragma once
// Name order for files carried out side by side. A result's name depends on which names are
// already taken, so when several files of a drop are worked on at once, each may choose or
// take a final name only once every earlier file of the drop is finished: clashing names then
// fall out exactly as they would one file after another. The run installs a turn on the
// thread that carries a file out; every place that chooses or takes a final name
// (OutputName::firstFree, placeExclusively, createImageFolder) waits for it first. Without an
// installed turn (a single file, a test, a direct call) nothing waits.

#include <functional>

namespace tavrino {

// Installs `wait` as this thread's turn for its lifetime and restores the previous one
// afterwards. `wait` blocks until the file's turn has come; it may throw (a stopped run),
// and the exception then leaves the naming call, so nothing is placed.
class NamingTurn {
  public:
    explicit NamingTurn(std::function<void()> wait);
    ~NamingTurn();
    NamingTurn(const NamingTurn&) = delete;
    NamingTurn& operator=(const NamingTurn&) = delete;

  private:
    std::function<void()> previous_;
};

// Waits for this thread's turn, if one is installed; returns at once otherwise.
void awaitNamingTurn();

}  // namespace tavrino
