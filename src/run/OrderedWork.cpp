#include "run/OrderedWork.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "convert/NamingTurn.h"
#include "platform/CoreShare.h"
#include "platform/Machine.h"

namespace tavrino {
namespace {

// Thrown by the naming turn of a job whose run was stopped before its turn came.
struct TurnCancelled : std::runtime_error {
    TurnCancelled() : std::runtime_error("실행 중단") {}
};

// The shared state of one runInOrder: a queue of side-by-side jobs, the workers taking from
// it, and which jobs have returned.
class Dispatcher {
  public:
    Dispatcher(std::size_t count, const WorkLimits& limits,
               const std::function<void(std::size_t)>& job)
        : limits_(limits), job_(job), returned_(count, false) {}

    ~Dispatcher() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            queue_.clear();
        }
        changed_.notify_all();
        for (std::thread& worker : workers_)
            worker.join();
    }

    Dispatcher(const Dispatcher&) = delete;
    Dispatcher& operator=(const Dispatcher&) = delete;

    // Starts job `index` if it fits now; false when it must wait for room.
    bool tryStart(std::size_t index, const JobPlan& plan) {
        std::unique_lock lock(mutex_);
        switch (plan.kind) {
            case JobPlan::Kind::nothing:
                markReturned(index);
                return true;
            case JobPlan::Kind::alone:
                if (inFlight_ > 0) return false;
                lock.unlock();
                // Nothing is in flight, so every earlier job has returned: no turn to wait for.
                job_(index);
                lock.lock();
                markReturned(index);
                return true;
            case JobPlan::Kind::sideBySide:
                if (!fits(plan.bytes)) return false;
                ++inFlight_;
                bytesInFlight_ += plan.bytes;
                queue_.push_back({index, plan.bytes, CoreShare()});
                if (queue_.size() > idle_ && workers_.size() < std::max(1u, limits_.workers)) {
                    workers_.emplace_back([this] { work(); });
                }
                changed_.notify_all();
                return true;
        }
        return false;
    }

    // Lets no queued job start any more and waits for those already running; returns how
    // many leading jobs have then returned (all that started).
    std::size_t finishStarted() {
        std::unique_lock lock(mutex_);
        for (const Queued& queued : queue_) {
            --inFlight_;
            bytesInFlight_ -= queued.bytes;
        }
        queue_.clear();
        changed_.wait(lock, [&] { return returnedPrefix_ >= started_; });
        return returnedPrefix_;
    }

    // Waits until job `index` has returned, or (when `more` jobs wait to start) until any job
    // returns and may have made room. Returns how many leading jobs have returned.
    std::size_t waitFor(std::size_t index, bool more) {
        std::unique_lock lock(mutex_);
        const std::size_t seen = returnedCount_;
        changed_.wait(lock,
                      [&] { return returnedPrefix_ > index || (more && returnedCount_ != seen); });
        return returnedPrefix_;
    }

  private:
    struct Queued {
        std::size_t index;
        std::uint64_t bytes;
        // Taken when the job is let in, so that the jobs started together divide the cores
        // among them from their first encoder on.
        CoreShare share;
    };

    bool fits(std::uint64_t bytes) const {
        if (inFlight_ == 0) return true;
        return inFlight_ < std::max(1u, limits_.workers) &&
               bytesInFlight_ + bytes <= limits_.memory;
    }

    // Called with the mutex held.
    void markReturned(std::size_t index) {
        started_ = std::max(started_, index + 1);
        returned_[index] = true;
        ++returnedCount_;
        while (returnedPrefix_ < returned_.size() && returned_[returnedPrefix_])
            ++returnedPrefix_;
        changed_.notify_all();
    }

    void awaitTurn(std::size_t index) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stopping_ || returnedPrefix_ >= index; });
        if (returnedPrefix_ < index) throw TurnCancelled();
    }

    void work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            ++idle_;
            changed_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
            --idle_;
            if (queue_.empty()) return;
            Queued next = std::move(queue_.front());
            queue_.pop_front();
            started_ = std::max(started_, next.index + 1);
            lock.unlock();
            {
                const NamingTurn turn([this, index = next.index] { awaitTurn(index); });
                job_(next.index);
            }
            next.share.release();
            lock.lock();
            --inFlight_;
            bytesInFlight_ -= next.bytes;
            markReturned(next.index);
        }
    }

    const WorkLimits limits_;
    const std::function<void(std::size_t)>& job_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Queued> queue_;
    std::vector<std::thread> workers_;
    std::vector<bool> returned_;
    std::size_t returnedPrefix_ = 0;
    std::size_t returnedCount_ = 0;
    std::size_t started_ = 0;  // jobs started (taken by a worker or run here), counted from 0
    unsigned inFlight_ = 0;
    unsigned idle_ = 0;
    std::uint64_t bytesInFlight_ = 0;
    bool stopping_ = false;
};

}  // namespace

WorkLimits WorkLimits::ofMachine() {
    const std::optional<std::uint64_t> available = availableMemory();
    return {usableCores(), available ? *available / 4 * 3 : 256ull << 20};
}

void runInOrder(std::size_t count, const WorkLimits& limits,
                const std::function<JobPlan(std::size_t)>& plan,
                const std::function<void(std::size_t)>& job,
                const std::function<void(std::size_t)>& finished) {
    Dispatcher dispatcher(count, limits, job);
    std::size_t next = 0;
    std::size_t reported = 0;
    // The plan of the next job is asked once, however long that job waits for room.
    JobPlan nextPlan;
    std::size_t planned = 0;
    while (reported < count) {
        while (next < count) {
            if (planned == next) {
                nextPlan = plan(next);
                planned = next + 1;
            }
            if (!dispatcher.tryStart(next, nextPlan)) break;
            ++next;
        }
        const std::size_t ready = dispatcher.waitFor(reported, next < count);
        try {
            for (; reported < ready; ++reported)
                finished(reported);
        } catch (const RunStopped&) {
            // The jobs already running finish and are reported like the rest; the reports of
            // a run being stopped may say so again.
            const std::size_t started = dispatcher.finishStarted();
            for (++reported; reported < started; ++reported) {
                try {
                    finished(reported);
                } catch (const RunStopped&) {
                }
            }
            throw;
        }
    }
}

}  // namespace tavrino
