#pragma once
// The thread a run is carried out on. When the program quits, the run is asked to stop: it
// ends after the files in flight (each of them whole under its name or not there at all, no
// temporary file left), and quitting waits for that within a limit, rather than ending the
// process under a file being written.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace tavrino {

class RunThread {
  public:
    // Starts `work` on a thread of its own, which keeps the returned object alive until the
    // work has returned; `work` asks it whether to stop.
    static std::shared_ptr<RunThread> start(std::function<void(const RunThread&)> work);

    bool stopRequested() const { return stop_.load(); }
    // Asks the run to stop and waits until it has ended or `limit` has passed; true when it
    // has ended.
    bool stopAndWait(std::chrono::milliseconds limit);

  private:
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable ended_;
    bool running_ = true;
};

}  // namespace tavrino
