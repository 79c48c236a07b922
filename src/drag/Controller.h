#pragma once
// The drag watcher and the GUI side of run control.
//
// Sixty times a second the watcher looks at the primary button, the count of drag-selection
// owner changes and the modifiers; between drags the timer rests until a drag source takes
// the selection. A drag that begins during a press, with Shift (convert) or Alt (tools)
// held, gets the wheel under the pointer; a drag that offers nothing is logged once and
// ignored until the button is released. A drop on a petal starts a run on
// a worker thread whose progress and result come back to the hub on the GUI thread.
//
// The dragged files are read in two steps. A GTK source hands its uri-list to anyone who
// asks; a Qt source answers only its drop target, so for those the panel is mapped
// transparent under the pointer, the pointer is nudged so the source finds it, and the
// files are taken from the drag-enter before the wheel fades in.
//
// Everything here runs on the GUI thread.

#include <QObject>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "drag/DragBackend.h"
#include "drag/Notifier.h"
#include "drag/RunPort.h"
#include "drag/RunThread.h"
#include "drag/WheelPort.h"

namespace tavrino {

class Controller : public QObject {
    Q_OBJECT
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // The panel, backend, engine and notifier outlive the controller, except the engine,
    // which a running worker keeps alive. Its end asks a run in progress to stop after the
    // files in flight and waits for them (at most quitWait).
    Controller(WheelPort& panel, DragBackend& backend, std::shared_ptr<RunPort> engine,
               Notifier& notifier);
    ~Controller() override;

    // Starts the 1/60 s timer and logs the start line; on a display where other programs'
    // drags cannot be seen, logs why and stays idle.
    void start();
    void tick();
    void run(const WheelItem& item, std::vector<std::filesystem::path> paths);

    bool fileDragActive() const { return fileDragActive_; }
    bool converting() const { return converting_; }
    bool menuSkippedThisDrag() const { return menuSkippedThisDrag_; }
    bool reading() const { return probe_.has_value(); }
    // The timer rests between drags; a drag source taking the selection wakes it.
    bool sleeping() const { return !timer_.isActive(); }

    // Replaceable for checks: the system beep, the crop window (throws when it cannot
    // open) and the clock that bounds the reading of a Qt source's files.
    void setBeep(std::function<void()> beep) { beep_ = std::move(beep); }
    void setCropOpener(std::function<void(const std::filesystem::path&)> open) {
        openCrop_ = std::move(open);
    }
    void setClock(Clock clock) { clock_ = std::move(clock); }

    // How long a Qt source may take to show its files to the transparent panel; where the
    // pointer cannot be nudged, counted from the pointer's last motion.
    static constexpr std::chrono::milliseconds readLimit{300};
    // How long a source may take to answer a request for its uri-list.
    static constexpr std::chrono::milliseconds answerLimit{30};
    // How long the controller's end (the program quitting) waits for a run to finish the
    // files it has in flight.
    static constexpr std::chrono::milliseconds quitWait{20000};

  private:
    struct Probe {
        MenuKind kind;
        std::chrono::steady_clock::time_point started;
        bool nudged = false;
        bool recheckPending = false;
        // Where the pointer was last seen while reading, for a backend that cannot nudge.
        int x = 0;
        int y = 0;
        bool movedSinceReady = false;
    };

    void sleepIfIdle(const PointerState& pointer, std::uint64_t count);
    void wake();
    void lookNow();
    void considerWheel(const PointerState& pointer);
    // True when the wheel opened; false after the skip line.
    bool showOrSkip(const std::optional<DragInfo>& info, MenuKind kind, ScreenPoint at);
    void continueProbe();
    void probeAnswered(std::vector<std::filesystem::path> files);
    void endProbe();

    void runCrop(const std::vector<std::filesystem::path>& paths);
    void startWorker(std::function<void(const RunThread&)> work);
    void showProgress(int handled);
    void finishRun(const WheelItem& item, const RunReport& report);
    void notifyRisks(const std::vector<RiskFinding>& risks);

    WheelPort& panel_;
    std::uint64_t dragCount_ = 0;
    bool buttonWasDown_ = false;
    bool fileDragActive_ = false;
    bool converting_ = false;
    bool menuSkippedThisDrag_ = false;

    DragBackend& backend_;
    std::shared_ptr<RunPort> engine_;
    Notifier& notifier_;
    std::function<void()> beep_;
    std::function<void(const std::filesystem::path&)> openCrop_;
    Clock clock_;
    std::optional<Probe> probe_;
    bool started_ = false;
    std::uint64_t lastCount_ = 0;
    QTimer timer_;
    std::shared_ptr<RunThread> worker_;
};

}  // namespace tavrino
