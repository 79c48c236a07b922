#include "app/Scheduler.h"

#include <QTimer>
#include <cmath>

namespace tavrino::app {
namespace {

int milliseconds(double seconds) {
    return static_cast<int>(std::lround(seconds * 1000.0));
}

class QtRepeating : public Repeating {
  public:
    QtRepeating(double seconds, std::function<void()> work) {
        QObject::connect(&timer_, &QTimer::timeout, std::move(work));
        timer_.start(milliseconds(seconds));
    }
    void stop() override { timer_.stop(); }

  private:
    QTimer timer_;
};

class QtScheduler : public Scheduler {
  public:
    void after(double seconds, std::function<void()> work) override {
        QTimer::singleShot(milliseconds(seconds), std::move(work));
    }
    std::unique_ptr<Repeating> every(double seconds, std::function<void()> work) override {
        return std::make_unique<QtRepeating>(seconds, std::move(work));
    }
};

}  // namespace

Scheduler& qtScheduler() {
    static QtScheduler scheduler;
    return scheduler;
}

}  // namespace tavrino::app
