#pragma once
// Stand-ins for the shell's collaborators: a clock that only moves when told and copies that
// talk through an in-memory bus.

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/CopyBus.h"
#include "app/Scheduler.h"
#include "support/LogCapture.h"

namespace tavrino::test {

class FakeScheduler : public app::Scheduler {
  public:
    void after(double seconds, std::function<void()> work) override {
        tasks_.push_back({now_ + ms(seconds), 0, std::move(work), std::make_shared<bool>(true)});
    }
    std::unique_ptr<app::Repeating> every(double seconds, std::function<void()> work) override {
        auto alive = std::make_shared<bool>(true);
        tasks_.push_back({now_ + ms(seconds), ms(seconds), std::move(work), alive});
        return std::make_unique<Handle>(alive);
    }

    // Runs, in time order, everything due within the next `seconds`.
    void advance(double seconds) {
        const long long target = now_ + ms(seconds);
        while (true) {
            auto next = std::min_element(tasks_.begin(), tasks_.end(), [](auto& a, auto& b) {
                return *a.alive > *b.alive || (*a.alive == *b.alive && a.due < b.due);
            });
            if (next == tasks_.end() || !*next->alive || next->due > target) break;
            now_ = next->due;
            Task task = *next;
            if (task.period)
                next->due += task.period;
            else
                tasks_.erase(next);
            task.work();
        }
        now_ = target;
        std::erase_if(tasks_, [](const Task& task) { return !*task.alive; });
    }
    double now() const { return now_ / 1000.0; }
    size_t pending() const {
        return std::count_if(tasks_.begin(), tasks_.end(), [](auto& t) { return *t.alive; });
    }

  private:
    static long long ms(double seconds) { return static_cast<long long>(seconds * 1000 + 0.5); }
    struct Task {
        long long due;
        long long period;
        std::function<void()> work;
        std::shared_ptr<bool> alive;
    };
    class Handle : public app::Repeating {
      public:
        explicit Handle(std::shared_ptr<bool> alive) : alive_(std::move(alive)) {}
        ~Handle() override { *alive_ = false; }
        void stop() override { *alive_ = false; }

      private:
        std::shared_ptr<bool> alive_;
    };
    long long now_ = 0;
    std::vector<Task> tasks_;
};

// Copies on one bus. Messages are queued and handed out by deliver(), as the real bus
// delivers them later from the event loop.
class FakeNetwork {
  public:
    struct Message {
        std::string name;
        std::optional<std::string> object;
    };

    class Endpoint : public app::CopyBus {
      public:
        explicit Endpoint(FakeNetwork& network) : network_(network) {}
        void post(const std::string& name, const std::optional<std::string>& object) override {
            network_.queue_.push_back({name, object});
            network_.sent.push_back({name, object});
        }
        void listen(const std::string& name, Handler handler) override {
            handlers_[name].push_back(std::move(handler));
        }
        std::map<std::string, std::vector<Handler>> handlers_;

      private:
        FakeNetwork& network_;
    };

    Endpoint& endpoint() {
        endpoints_.push_back(std::make_unique<Endpoint>(*this));
        return *endpoints_.back();
    }
    // Delivers queued messages, and those their handlers post, to every listening copy.
    void deliver() {
        while (!queue_.empty()) {
            const Message message = queue_.front();
            queue_.erase(queue_.begin());
            for (auto& endpoint : endpoints_) {
                const auto handlers = endpoint->handlers_[message.name];
                for (const auto& handler : handlers)
                    handler(message.object);
            }
        }
    }
    // Drops queued messages, as if the receiver never read them.
    void lose() { queue_.clear(); }

    std::vector<Message> sent;

  private:
    std::vector<Message> queue_;
    std::vector<std::unique_ptr<Endpoint>> endpoints_;
};

}  // namespace tavrino::test
