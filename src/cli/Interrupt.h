#pragma once
// Ctrl-C, a closed terminal or a polite kill during a run: the run stops after the files in
// flight, so that no file is cut off as it is written and no hidden work file stays beside a
// source, and the program then ends by the same signal, as its caller expects. A second
// signal ends it at once.

namespace tavrino::cli {

class InterruptWatch {
  public:
    // Catches SIGINT, SIGTERM and SIGHUP until destroyed.
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    bool interrupted() const;
    // Ends the process by the signal that came (its default action).
    [[noreturn]] void endBySignal() const;
};

}  // namespace tavrino::cli
