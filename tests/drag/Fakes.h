#pragma once
// Stand-ins for the display, the wheel panel, the run engine and the notifier, recording
// what the controller asks of them.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <mutex>
#include <thread>

#include "drag/DragBackend.h"
#include "drag/Notifier.h"
#include "drag/RunPort.h"
#include "drag/WheelPort.h"
#include "support/LogCapture.h"

namespace tavrino::test {

class FakeBackend : public DragBackend {
  public:
    bool usable() const override { return isUsable; }
    PointerState pointer() override { return state; }
    std::uint64_t changeCount() override { return count; }
    SelectionReply readUriList(std::chrono::milliseconds) override {
        ++reads;
        return reply;
    }
    void nudgePointer() override { ++nudges; }
    void setOnChange(std::function<void()> handler) override { onChange = std::move(handler); }

    // A drag source taking the drag selection, as happens once per drag. Like the X11
    // backend, the notice comes from the event loop, after the count has moved.
    void startDrag() { ++count; }
    void announceDrag() {
        ++count;
        if (onChange) onChange();
    }

    bool isUsable = true;
    PointerState state;
    std::uint64_t count = 7;
    SelectionReply reply;
    int reads = 0;
    int nudges = 0;
    std::function<void()> onChange;
};

class FakePanel : public WheelPort {
  public:
    bool isVisible() const override { return visible; }
    void configure(const std::optional<DragInfo>& info, MenuKind kind) override {
        configured = info;
        kindShown = kind;
    }
    void present(ScreenPoint at) override {
        visible = true;
        transparent = false;
        presentedAt = at;
        ++presents;
    }
    void presentTransparent(ScreenPoint at) override {
        visible = true;
        transparent = true;
        presentedAt = at;
    }
    bool readyForDrag() const override { return ready; }
    void withdraw() override {
        visible = false;
        ++withdrawals;
    }
    void dismiss(double afterSeconds) override { dismissals.push_back(afterSeconds); }
    const HubState& hubState() const override { return hub; }
    void setHubState(HubState state) override {
        hub = state;
        hubHistory.push_back(std::move(state));
    }
    void clearHover() override { ++hoverClears; }
    void setOnDrop(DropHandler handler) override { onDrop = std::move(handler); }
    void setOnDragEnter(EnterHandler handler) override { onDragEnter = std::move(handler); }

    bool visible = false;
    bool transparent = false;
    bool ready = false;
    std::optional<DragInfo> configured;
    std::optional<MenuKind> kindShown;
    std::optional<ScreenPoint> presentedAt;
    int presents = 0;
    int withdrawals = 0;
    int hoverClears = 0;
    std::vector<double> dismissals;
    HubState hub;
    std::vector<HubState> hubHistory;
    DropHandler onDrop;
    EnterHandler onDragEnter;
};

// Returns a scripted report, reports progress for every file, and remembers the thread it
// was called on.
class FakeEngine : public RunPort {
  public:
    RunReport run(const WheelItem& item, const std::vector<std::filesystem::path>& files,
                  const ProgressCallback& progress) override {
        {
            std::lock_guard lock(mutex);
            thread = std::this_thread::get_id();
            items.push_back(item);
            calls.push_back(files);
        }
        struct Ended {
            std::atomic<bool>& flag;
            ~Ended() { flag = true; }
        } ended{this->ended};
        while (hold)
            std::this_thread::yield();
        const int total = static_cast<int>(files.size());
        for (int i = 0; i < total; ++i) {
            std::this_thread::sleep_for(perFile);
            ++handled;
            if (progress) progress(i + 1, total);
        }
        if (throws) throw std::runtime_error("엔진 고장");
        return report;
    }
    std::vector<std::string> riskNoticeLines(const std::vector<DocRisk>& risks) override {
        std::vector<std::string> lines;
        for (const DocRisk& risk : risks)
            lines.push_back(risk.message);
        return lines;
    }

    std::mutex mutex;
    std::thread::id thread;
    std::vector<WheelItem> items;
    std::vector<std::vector<std::filesystem::path>> calls;
    std::atomic<bool> hold = false;
    bool throws = false;
    std::chrono::milliseconds perFile{0};  // the time each file takes
    std::atomic<int> handled = 0;          // files carried out
    std::atomic<bool> ended = false;       // run() has returned or thrown
    RunReport report;
};

class FakeNotifier : public Notifier {
  public:
    void post(const std::string& title, const std::vector<std::string>& lines) override {
        posts.push_back({title, lines});
    }
    std::vector<std::pair<std::string, std::vector<std::string>>> posts;
};

// Runs the event loop until the condition holds or `milliseconds` pass.
template <typename Condition>
bool waitFor(Condition condition, int milliseconds = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > milliseconds) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace tavrino::test
