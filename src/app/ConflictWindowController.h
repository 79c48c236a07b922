#pragma once
// The conflict window: an older copy of the program runs but did not answer. It offers to
// ask that copy to quit and to continue in its place once it has ended, polling every
// `pollInterval` seconds up to `maxTries` times. While it waits it cannot be closed; closing
// it otherwise ends this copy.
//
// The three actions are replaceable, so that the self-test and the tests can stand in for
// the older process; the defaults signal the real one and watch /proc.

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/Panel.h"
#include "app/Scheduler.h"
#include "platform/RunningCopies.h"

class QLabel;
class QPushButton;

namespace tavrino::app {

class ConflictWindowController : public QObject, public PanelDelegate {
    Q_OBJECT
  public:
    static ConflictWindowController& shared();

    explicit ConflictWindowController(Scheduler& scheduler = qtScheduler());
    ~ConflictWindowController() override;

    std::function<void()> quit;
    std::function<void(const RunningCopy&)> requestQuit;
    std::function<bool(const RunningCopy&)> olderEnded;
    double pollInterval = 0.2;
    int maxTries = 50;

    void present(const RunningCopy& older, std::function<void()> onContinue);
    void setWaiting(bool waiting);

    // Builds the panel without showing it (the preview draws it off screen).
    Panel* makeWindow();

    Panel* window() const { return window_; }
    QLabel* text() const { return text_; }
    const std::vector<QPushButton*>& buttons() const { return buttons_; }
    bool waiting() const { return waiting_; }

    bool windowShouldClose() override;
    void windowWillClose() override;

  public Q_SLOTS:
    void continueAfterQuit();
    void closeAndQuit();

  private:
    void poll();

    Scheduler& scheduler_;
    Panel* window_ = nullptr;
    QLabel* text_ = nullptr;
    std::optional<RunningCopy> older_;
    std::function<void()> onContinue_;
    bool waiting_ = false;
    std::vector<QPushButton*> buttons_;
    std::unique_ptr<Repeating> timer_;
    int tries_ = 0;
};

// Sends SIGTERM; logs when it cannot be delivered.
void requestQuitBySignal(const RunningCopy& older);
// Gone, a zombie, its id reused, or refusing the null signal.
bool olderEndedInProc(const RunningCopy& older);

}  // namespace tavrino::app
