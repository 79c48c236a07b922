// Run control on the GUI side: from a drop on a petal to the result in the hub.

#include <QCoreApplication>
#include <QPointer>

#include "drag/Controller.h"
#include "platform/Log.h"
#include "run/RiskCheck.h"

namespace tavrino {
namespace {

constexpr double mergeDismissDelay = 1.2;
constexpr double quietDismissDelay = 0.7;  // one clean result with nothing more to read
constexpr double readingDismissDelay = 1.4;

bool isTool(const WheelItem& item, Tool tool) {
    const auto* toolItem = std::get_if<ToolItem>(&item);
    return toolItem && toolItem->tool == tool;
}

std::string fileName(const std::filesystem::path& path) {
    return path.filename().string();
}

}  // namespace

void Controller::run(const WheelItem& item, std::vector<std::filesystem::path> paths) {
    if (paths.empty()) return;
    if (isTool(item, Tool::crop)) {
        runCrop(paths);
        return;
    }
    converting_ = true;
    panel_.clearHover();
    panel_.setHubState(HubWorking{0, progressTotal(item, paths.size()), workingHint(item)});

    QPointer<Controller> self(this);
    auto post = [self](std::function<void(Controller&)> step) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, step = std::move(step)] {
                if (self) step(*self);
            },
            Qt::QueuedConnection);
    };
    startWorker([engine = engine_, post, item, paths = std::move(paths)](const RunThread& thread) {
        RunReport report;
        try {
            report = engine->run(item, paths, [post, &thread](int handled, int) {
                if (thread.stopRequested())
                    throw RunStopped("프로그램을 끝내 남은 파일은 그대로 둠");
                post([handled](Controller& c) { c.showProgress(handled); });
            });
        } catch (const RunStopped&) {
            // The run has logged why it stopped.
            report = RunReport{};
            report.total = static_cast<int>(paths.size());
            report.finish = {false, "중단"};
        } catch (const std::exception& error) {
            // The engine catches per file; anything that still escapes fails the run rather
            // than the program.
            log(title(item) + " 실패: " + error.what());
            report = RunReport{};
            report.total = static_cast<int>(paths.size());
            report.finish = {false, "실패"};
        }
        post([item, report](Controller& c) { c.finishRun(item, report); });
    });
}

void Controller::runCrop(const std::vector<std::filesystem::path>& paths) {
    // Cropping needs the user's hand on one picture, so it never runs as a batch.
    panel_.dismiss(0);
    try {
        openCrop_(paths.front());
    } catch (const std::exception& error) {
        log("자르기 창 열기 실패: " + fileName(paths.front()) + ": " + error.what());
        beep_();
    }
}

void Controller::startWorker(std::function<void(const RunThread&)> work) {
    // One run at a time (the wheel refuses drops while its hub is busy), so one thread per
    // run is all the concurrency needed; it owns everything it touches.
    worker_ = RunThread::start(std::move(work));
}

void Controller::showProgress(int handled) {
    const auto* working = std::get_if<HubWorking>(&panel_.hubState());
    if (!working) return;
    HubWorking next = *working;
    next.done = handled;
    panel_.setHubState(next);
}

void Controller::finishRun(const WheelItem& item, const RunReport& report) {
    converting_ = false;
    const FinishMessage& message = report.finish;
    if (!message.ok) {
        // A failure outweighs any findings: they are not reported.
        panel_.setHubState(HubFailed{message.text});
        beep_();
    } else if (report.risks.empty()) {
        panel_.setHubState(HubDone{message.text});
    } else {
        notifyRisks(report.risks);
    }
    double delay = readingDismissDelay;
    if (isMergeItem(item)) {
        delay = mergeDismissDelay;
    } else if (message.ok && !report.lastNote && report.risks.empty() && report.skipped == 0) {
        delay = quietDismissDelay;
    }
    panel_.dismiss(delay);
}

void Controller::notifyRisks(const std::vector<RiskFinding>& risks) {
    panel_.setHubState(HubCheck{riskHubText(risks)});
    notifier_.post(riskNoticeTitle(risks), engine_->riskNoticeLines(risks.front().risks));
}

}  // namespace tavrino
