#include "app/WelcomeWindowController.h"

#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

#include "app/PanelLayout.h"
#include "platform/Log.h"

namespace tavrino::app {
namespace {

bool startDetached(const std::vector<std::string>& command) {
    QStringList arguments;
    for (size_t i = 1; i < command.size(); ++i)
        arguments << QString::fromStdString(command[i]);
    return QProcess::startDetached(QString::fromStdString(command.front()), arguments);
}

QPushButton* button(const QString& title, QObject* target,
                    void (WelcomeWindowController::*slot)()) {
    auto* result = new QPushButton(title);
    QObject::connect(result, &QPushButton::clicked, static_cast<WelcomeWindowController*>(target),
                     slot);
    return result;
}

}  // namespace

WelcomeWindowController& WelcomeWindowController::shared() {
    static auto* controller = new WelcomeWindowController;
    return *controller;
}

WelcomeWindowController::WelcomeWindowController(Desktop desktop, bool wayland)
    : quit([] { QApplication::quit(); }),
      launch(startDetached),
      desktop_(desktop),
      wayland_(wayland) {}

Panel* WelcomeWindowController::makeWindow() {
    if (window_) return window_;
    const TraySettings settings = traySettings(desktop_);
    QPushButton* settingsButton = nullptr;
    if (!settings.buttonTitle.empty()) {
        settingsButton = button(QString::fromStdString(settings.buttonTitle), this,
                                &WelcomeWindowController::openSettings);
        buttonTitles_.push_back(settingsButton->text());
    }
    QPushButton* quitButton = button(WelcomeTexts::quit, this, &WelcomeWindowController::quitApp);
    QPushButton* okButton = button(WelcomeTexts::ok, this, &WelcomeWindowController::closeWindow);
    okButton->setDefault(true);
    buttonTitles_.push_back(quitButton->text());
    buttonTitles_.push_back(okButton->text());
    window_ = PanelLayout::makePanel(WelcomeTexts::windowTitle, WelcomeTexts::head,
                                     QString::fromStdString(welcomeBody(desktop_, wayland_)),
                                     settingsButton, {quitButton, okButton}, this)
                  .panel;
    return window_;
}

void WelcomeWindowController::showWindow() {
    PanelLayout::show(makeWindow());
}

void WelcomeWindowController::openSettings() {
    if (window_) window_->hide();
    for (const auto& command : traySettings(desktop_).commands) {
        if (QStandardPaths::findExecutable(QString::fromStdString(command.front())).isEmpty()) {
            continue;
        }
        if (launch(command)) return;
    }
    log("트레이 설정을 열 수 없음: 설정 프로그램이 없음");
}

void WelcomeWindowController::quitApp() {
    quit();
}

void WelcomeWindowController::closeWindow() {
    if (window_) window_->hide();
}

}  // namespace tavrino::app
