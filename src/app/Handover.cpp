#include "app/Handover.h"

#include "platform/Bundle.h"
#include "platform/Log.h"

namespace tavrino::app {

struct Handover::Probe {
    bool answered = false;
};

Handover::Handover(CopyBus& bus, Scheduler& scheduler, std::string identity, pid_t self,
                   HandoverHooks hooks)
    : bus_(bus),
      scheduler_(scheduler),
      identity_(std::move(identity)),
      selfId_(std::to_string(self)),
      hooks_(std::move(hooks)),
      probe_(std::make_shared<Probe>()) {}

Handover::~Handover() = default;

void Handover::launch() {
    bus_.listen(showWelcomeName(identity_),
                [this](const std::optional<std::string>& object) { showWelcomeFromOther(object); });
    const std::optional<RunningCopy> older = hooks_.findOlder();
    if (!older) {
        hooks_.startNormally();
        return;
    }
    askOlder(*older);
}

void Handover::askOlder(const RunningCopy& older) {
    const std::string olderPid = std::to_string(older.pid);
    log("이미 실행 중(pid " + olderPid + ") — 기존 인스턴스에 안내 창 요청");
    std::weak_ptr<Probe> weak = probe_;
    bus_.listen(welcomeAckName(identity_), [this, weak](const std::optional<std::string>& object) {
        const auto probe = weak.lock();
        if (!probe || object != selfId_ || probe->answered) return;
        probe->answered = true;
        log("기존 인스턴스 응답 — 종료");
        hooks_.quit();
    });
    bus_.post(showWelcomeName(identity_), selfId_);
    scheduler_.after(retryDelay, [this, weak] {
        if (const auto probe = weak.lock(); probe && !probe->answered) {
            bus_.post(showWelcomeName(identity_), selfId_);
        }
    });
    scheduler_.after(answerDeadline, [this, weak, older, olderPid] {
        const auto probe = weak.lock();
        if (!probe || probe->answered) return;
        // A late answer is ignored from here on: the conflict window decides.
        probe->answered = true;
        log("기존 인스턴스(pid " + olderPid + ") 응답 없음 — 충돌 창");
        hooks_.presentConflict(older, [this] {
            hooks_.startNormally();
            hooks_.showWelcome();
            log("안내 창 띄움(이전 판 종료 후)");
        });
    });
}

void Handover::showWelcomeFromOther(const std::optional<std::string>& object) {
    // A copy still held back (waiting in its own conflict window) is not the one to answer:
    // the newer copy must then reach its own conflict window.
    if (!hooks_.started()) return;
    if (object == selfId_) return;
    hooks_.showWelcome();
    log("안내 창 띄움(두 번째 인스턴스)");
    if (object) bus_.post(welcomeAckName(identity_), *object);
}

std::string copyIdentity() {
    const auto identifier = bundleInfo("identifier");
    return identifier && !identifier->empty() ? *identifier : developmentIdentity;
}

std::optional<RunningCopy> findOlderCopy() {
    const auto identifier = bundleInfo("identifier");
    if (!identifier || identifier->empty()) return std::nullopt;
    const ProcessTable table;
    const RunningCopy self{::getpid(), table.startTime(::getpid())};
    return olderInstance(runningCopies(table), self);
}

}  // namespace tavrino::app
