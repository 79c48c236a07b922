#include "app/ConflictWindowController.h"

#include <signal.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "app/PanelLayout.h"
#include "app/WelcomeText.h"
#include "platform/Log.h"

namespace tavrino::app {

void requestQuitBySignal(const RunningCopy& older) {
    if (::kill(older.pid, SIGTERM) != 0) {
        log("이전 Tavrino에 종료 요청을 보내지 못함(terminate false)");
    }
}

bool olderEndedInProc(const RunningCopy& older) {
    return ProcessTable().ended(older.pid, older.start) || ::kill(older.pid, 0) != 0;
}

ConflictWindowController& ConflictWindowController::shared() {
    static auto* controller = new ConflictWindowController;
    return *controller;
}

ConflictWindowController::ConflictWindowController(Scheduler& scheduler)
    : quit([] { QApplication::quit(); }),
      requestQuit(requestQuitBySignal),
      olderEnded(olderEndedInProc),
      scheduler_(scheduler) {}

ConflictWindowController::~ConflictWindowController() {
    delete window_;
}

Panel* ConflictWindowController::makeWindow() {
    if (window_) return window_;
    auto* continueButton = new QPushButton(ConflictTexts::continueButton);
    continueButton->setDefault(true);
    connect(continueButton, &QPushButton::clicked, this,
            &ConflictWindowController::continueAfterQuit);
    auto* closeButton = new QPushButton(ConflictTexts::close);
    connect(closeButton, &QPushButton::clicked, this, &ConflictWindowController::closeAndQuit);
    buttons_ = {closeButton, continueButton};
    const PanelLayout::Built built =
        PanelLayout::makePanel(ConflictTexts::windowTitle, ConflictTexts::head,
                               QString::fromStdString(ConflictTexts::body()), nullptr,
                               {closeButton, continueButton}, this);
    window_ = built.panel;
    text_ = built.body;
    return window_;
}

void ConflictWindowController::present(const RunningCopy& older, std::function<void()> onContinue) {
    older_ = older;
    onContinue_ = std::move(onContinue);
    PanelLayout::show(makeWindow());
    log("충돌 창 띄움(이전 pid " + std::to_string(older.pid) + ")");
}

void ConflictWindowController::setWaiting(bool waiting) {
    waiting_ = waiting;
    for (QPushButton* button : buttons_)
        button->setEnabled(!waiting);
    if (window_) window_->setClosable(!waiting);
}

void ConflictWindowController::continueAfterQuit() {
    if (!older_ || waiting_) return;
    setWaiting(true);
    text_->setText(QString::fromStdString(ConflictTexts::waiting()));
    log("이전 Tavrino(pid " + std::to_string(older_->pid) + ")에 종료 요청");
    requestQuit(*older_);
    tries_ = 0;
    // The timer dies with this controller, so no tick can outlive it.
    timer_ = scheduler_.every(pollInterval, [this] { poll(); });
}

void ConflictWindowController::poll() {
    ++tries_;
    if (olderEnded(*older_)) {
        timer_->stop();
        setWaiting(false);
        log("이전 Tavrino 종료 확인 — 이어서 시작");
        window_->hide();
        if (auto next = std::move(onContinue_)) {
            onContinue_ = nullptr;
            next();
        }
        return;
    }
    if (tries_ >= maxTries) {
        timer_->stop();
        setWaiting(false);
        log("이전 Tavrino가 10초 안에 끝나지 않음");
        text_->setText(QString::fromStdString(ConflictTexts::timedOut()));
    }
}

void ConflictWindowController::closeAndQuit() {
    quit();
}

bool ConflictWindowController::windowShouldClose() {
    if (!waiting_) return true;
    log("충돌 창 닫기 막음(기다리는 중)");
    return false;
}

void ConflictWindowController::windowWillClose() {
    if (onContinue_) quit();
}

}  // namespace tavrino::app
