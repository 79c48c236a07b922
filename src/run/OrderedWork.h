#pragma once
// Carrying a drop's files out several at a time while everything a caller sees stays in file
// order. Jobs start in order, each as soon as it fits beside the jobs in flight (a worker is
// free and the memory they may need together stays within the bound); their results are
// handed back in order on the calling thread; and every job may take its output names only
// once all earlier jobs have returned (convert/NamingTurn.h), so names are what a run one
// file after another gives.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>

namespace tavrino {

struct WorkLimits {
    unsigned workers = 1;      // side-by-side jobs in flight at most (at least 1)
    std::uint64_t memory = 0;  // what the jobs in flight may need together, in bytes

    // One worker per usable core, and three quarters of the memory available now (256 MB
    // when that cannot be read).
    static WorkLimits ofMachine();
};

// How one job runs, decided just before it may start.
struct JobPlan {
    enum class Kind {
        nothing,     // nothing to carry out (a skipped file): its result is ready at once
        sideBySide,  // may run on a worker beside other such jobs
        alone,       // runs on the calling thread with nothing beside it (work that already
                     // uses every core, or that is not safe beside other work)
    };
    Kind kind = Kind::alone;
    std::uint64_t bytes = 0;  // memory the job may need at its peak (side-by-side jobs)
};

// A run ended early at its caller's request (the program quitting, an interrupt); the text
// says why; the run's log line is "<title> 중단: <text>".
struct RunStopped : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Runs job(i) for every i in [0, count). plan(i) is asked on the calling thread, in order,
// before job i starts; a side-by-side job whose bytes exceed the bound by themselves still
// runs, with nothing beside it, so every drop completes. finished(i) is called on the
// calling thread for i = 0, 1, ... in order, once job i has returned. `job` must not throw:
// it keeps its result in the caller's own storage.
// When finished throws RunStopped, no job that has not started yet starts, the jobs already
// running finish and are reported in order (finished may throw RunStopped again for them),
// and the first RunStopped propagates. When plan or finished throws anything else, no
// further job starts, the naming turns of waiting jobs throw (so they place nothing), every
// worker is joined, and the exception propagates.
void runInOrder(std::size_t count, const WorkLimits& limits,
                const std::function<JobPlan(std::size_t)>& plan,
                const std::function<void(std::size_t)>& job,
                const std::function<void(std::size_t)>& finished);

}  // namespace tavrino
