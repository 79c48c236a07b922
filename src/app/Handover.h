#pragma once
// Only one copy of the program watches drags. At launch a new copy looks for an older copy
// of the same program; when there is one it asks it to show its welcome window and quits
// once it answers. An older copy that stays silent for one second (an old build that does
// not know these messages, or a hung one) gets the conflict window instead. The running copy
// answers the same request from newer copies.
//
// Everything runs on the GUI thread; the collaborators are injected so that tests can drive
// the whole sequence with fakes and a fake clock.

#include <sys/types.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/CopyBus.h"
#include "app/Scheduler.h"
#include "platform/RunningCopies.h"

namespace tavrino::app {

struct HandoverHooks {
    std::function<std::optional<RunningCopy>()> findOlder;
    std::function<bool()> started;  // whether this copy's normal start has run
    std::function<void()> startNormally;
    // Shows the welcome window; the caller logs after it.
    std::function<void()> showWelcome;
    std::function<void()> quit;
    // Shows the conflict window for `older`; `onContinue` runs once the older copy ended.
    std::function<void(const RunningCopy& older, std::function<void()> onContinue)> presentConflict;
};

class Handover {
  public:
    static constexpr double retryDelay = 0.5;
    static constexpr double answerDeadline = 1.0;

    Handover(CopyBus& bus, Scheduler& scheduler, std::string identity, pid_t self,
             HandoverHooks hooks);
    ~Handover();
    Handover(const Handover&) = delete;
    Handover& operator=(const Handover&) = delete;

    // The launch sequence: listen for show requests, then start normally, or ask the older
    // copy and wait for its answer.
    void launch();

    // The running copy's answer to a show request carrying `object`.
    void showWelcomeFromOther(const std::optional<std::string>& object);

  private:
    struct Probe;
    void askOlder(const RunningCopy& older);

    CopyBus& bus_;
    Scheduler& scheduler_;
    std::string identity_;
    std::string selfId_;
    HandoverHooks hooks_;
    // Shared with the delayed steps, which must do nothing once this object is gone.
    std::shared_ptr<Probe> probe_;
};

// The copy identity: Info.ini's identifier, or a fixed development identity for a bare
// executable.
std::string copyIdentity();
inline constexpr const char* developmentIdentity = "app.korvanta.tavrino.dev";

// The older copy of this program to hand over to; none for a bare executable.
std::optional<RunningCopy> findOlderCopy();

}  // namespace tavrino::app
