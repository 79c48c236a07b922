#include "drag/Controller.h"

#include <QApplication>
#include <QPointer>
#include <stdexcept>
#include <string>

#include "drag/DragSummary.h"
#include "drag/UriList.h"
#include "platform/Log.h"

namespace tavrino {
namespace {

// 1/60 s; Qt counts whole milliseconds.
constexpr int tickIntervalMs = 16;
constexpr double releaseDismissDelay = 0.35;
constexpr int mapCheckIntervalMs = 2;

std::string label(MenuKind kind) {
    return kind == MenuKind::tools ? "도구" : "변환";
}

std::string sourceFormatText(const std::optional<DragInfo>& info) {
    if (!info || !info->sourceFmt) return "섞임";
    return std::string(rawValue(*info->sourceFmt));
}

}  // namespace

Controller::Controller(WheelPort& panel, DragBackend& backend, std::shared_ptr<RunPort> engine,
                       Notifier& notifier)
    : panel_(panel),
      backend_(backend),
      engine_(std::move(engine)),
      notifier_(notifier),
      beep_([] { QApplication::beep(); }),
      openCrop_(
          [](const std::filesystem::path&) { throw std::runtime_error("자르기 창을 쓸 수 없음"); }),
      clock_([] { return std::chrono::steady_clock::now(); }) {
    dragCount_ = backend_.usable() ? backend_.changeCount() : 0;
    lastCount_ = dragCount_;
    QPointer<Controller> self(this);
    panel_.setOnDrop([self](const WheelItem& item, std::vector<std::filesystem::path> paths) {
        if (self) self->run(item, std::move(paths));
    });
    panel_.setOnDragEnter([self](std::vector<std::filesystem::path> files) {
        if (self) self->probeAnswered(std::move(files));
    });
    backend_.setOnChange([self] {
        if (self) self->wake();
    });
    backend_.setOnPointerReport([self] {
        if (self) self->lookNow();
    });
    timer_.setInterval(tickIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &Controller::tick);
}

Controller::~Controller() {
    panel_.setOnDrop(nullptr);
    panel_.setOnDragEnter(nullptr);
    backend_.setOnChange(nullptr);
    backend_.setOnPointerReport(nullptr);
    if (worker_ && !worker_->stopAndWait(quitWait))
        log("끝내기: 진행 중인 변환이 제한 시간 안에 끝나지 않음");
}

void Controller::start() {
    if (!backend_.usable()) {
        log("X11 화면에 연결할 수 없어 다른 프로그램의 파일 끌기를 볼 수 없음 (Wayland 세션?): "
            "원형 메뉴 없이 계속한다");
        return;
    }
    started_ = true;
    timer_.start();
    log("Tavrino 시작. 파일을 끌면서 Shift(변환)나 Alt(도구)를 누르면 원형 메뉴가 뜬다. "
        "트레이 아이콘 > 종료로 끝낸다.");
}

void Controller::tick() {
    if (!backend_.usable()) return;
    const PointerState pointer = backend_.pointer();
    const std::uint64_t count = backend_.changeCount();
    if (pointer.primaryDown) {
        // The count at the start of the press is the baseline: a drag that begins during
        // this press moves it.
        if (!buttonWasDown_) dragCount_ = count;
        if (count != dragCount_) {
            dragCount_ = count;
            fileDragActive_ = true;
        }
    } else if (buttonWasDown_) {
        fileDragActive_ = false;
        menuSkippedThisDrag_ = false;
        // A drop on the still transparent panel cannot happen (it refuses drops), so a
        // release while the files are being read simply ends the reading.
        if (probe_) endProbe();
        if (panel_.isVisible() && !converting_) panel_.dismiss(releaseDismissDelay);
    }
    buttonWasDown_ = pointer.primaryDown;

    if (probe_) {
        continueProbe();
    } else if (fileDragActive_ && (pointer.shift || pointer.alt) && !panel_.isVisible() &&
               !menuSkippedThisDrag_) {
        considerWheel(pointer);
    }
    sleepIfIdle(pointer, count);
}

void Controller::sleepIfIdle(const PointerState& pointer, std::uint64_t count) {
    // Between drags nothing can happen until a drag source takes the selection, so the
    // timer rests and the backend's change notice wakes it. Polling on at 60 Hz would cost
    // more than half a percent of a core for the life of the program.
    const bool changed = count != lastCount_;
    lastCount_ = count;
    if (pointer.primaryDown || changed || probe_ || converting_ || panel_.isVisible()) return;
    timer_.stop();
}

void Controller::wake() {
    if (!started_ || timer_.isActive()) return;
    // The press that carries this drag began while the timer slept: the count it started
    // from is the one last seen, and the change counts as this press's drag.
    buttonWasDown_ = true;
    timer_.start();
    tick();
}

void Controller::lookNow() {
    // A resting timer means no press is under way; the change notice wakes it for a drag.
    if (!started_ || !timer_.isActive()) return;
    tick();
}

void Controller::considerWheel(const PointerState& pointer) {
    // Alt alone asks for the tools; Shift, with or without Alt, for the conversions.
    const MenuKind kind = pointer.alt && !pointer.shift ? MenuKind::tools : MenuKind::convert;
    const ScreenPoint at{pointer.x, pointer.y};
    const SelectionReply reply = backend_.readUriList(answerLimit);
    switch (reply.status) {
        case SelectionReply::Status::answered:
            showOrSkip(summarizeDrag(fileUrlsFromUriList(reply.text)), kind, at);
            return;
        case SelectionReply::Status::noOwner:
            showOrSkip(std::nullopt, kind, at);
            return;
        case SelectionReply::Status::refused:
        case SelectionReply::Status::timedOut:
            probe_ = Probe{kind, clock_(), false, false, pointer.x, pointer.y, false};
            panel_.presentTransparent(at);
            continueProbe();
            return;
    }
}

bool Controller::showOrSkip(const std::optional<DragInfo>& info, MenuKind kind, ScreenPoint at) {
    const std::vector<std::filesystem::path> none;
    const std::vector<WheelItem> items = menuItems(info ? info->paths : none, kind);
    if (items.empty()) {
        menuSkippedThisDrag_ = true;
        log(label(kind) + " 메뉴 생략: 놓은 파일 모두에 되는 것이 없음 (" + skipDetails(info) +
            ")");
        return false;
    }
    panel_.configure(info, kind);
    panel_.present(at);
    log(label(kind) + " 메뉴 표시 (파일 정보 " + std::to_string(info->paths.size()) +
        "개, 원본 형식 " + sourceFormatText(info) + ")");
    return true;
}

void Controller::continueProbe() {
    if (!probe_) return;
    if (!backend_.canNudgePointer()) {
        // The drag reaches the panel only on the user's next motion, however long the
        // pointer rests: giving up while it rests would call a file drag one of no files.
        // The time allowed counts from the last motion after the panel is up.
        const PointerState pointer = backend_.pointer();
        const bool moved = pointer.x != probe_->x || pointer.y != probe_->y;
        if (!probe_->nudged || moved) {
            probe_->movedSinceReady = probe_->nudged;
            probe_->x = pointer.x;
            probe_->y = pointer.y;
            probe_->started = clock_();
        }
    }
    if (!probe_->nudged) {
        if (panel_.readyForDrag()) {
            backend_.nudgePointer();
            probe_->nudged = true;
        } else if (!probe_->recheckPending) {
            // The map takes a few milliseconds; waiting for the next tick would add up to
            // a whole tick to the time before the wheel shows.
            probe_->recheckPending = true;
            QTimer::singleShot(mapCheckIntervalMs, this, [this] {
                if (probe_) probe_->recheckPending = false;
                continueProbe();
            });
        }
    }
    if (!backend_.canNudgePointer() && !probe_->movedSinceReady) return;
    if (clock_() - probe_->started < readLimit) return;
    // The source never showed us its files: it is not dragging files we can read.
    const MenuKind kind = probe_->kind;
    endProbe();
    showOrSkip(std::nullopt, kind, {});
}

void Controller::probeAnswered(std::vector<std::filesystem::path> files) {
    if (!probe_) return;
    const MenuKind kind = probe_->kind;
    probe_.reset();
    // The panel stays mapped when the wheel opens: it is the drag's target now, and the
    // source would have to find it again after an unmap.
    const PointerState pointer = backend_.pointer();
    if (!showOrSkip(summarizeDrag(std::move(files)), kind, {pointer.x, pointer.y})) {
        panel_.withdraw();
    }
}

void Controller::endProbe() {
    probe_.reset();
    panel_.withdraw();
}

}  // namespace tavrino
