#include "drag/RunThread.h"

#include <thread>

namespace tavrino {

std::shared_ptr<RunThread> RunThread::start(std::function<void(const RunThread&)> work) {
    auto run = std::make_shared<RunThread>();
    std::thread([run, work = std::move(work)] {
        work(*run);
        std::lock_guard lock(run->mutex_);
        run->running_ = false;
        run->ended_.notify_all();
    }).detach();
    return run;
}

bool RunThread::stopAndWait(std::chrono::milliseconds limit) {
    stop_ = true;
    std::unique_lock lock(mutex_);
    return ended_.wait_for(lock, limit, [this] { return !running_; });
}

}  // namespace tavrino
