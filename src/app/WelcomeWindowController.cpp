#include "app/WelcomeWindowController.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

#include "app/AppDelegate.h"
#include "app/Autostart.h"
#include "app/Companion.h"
#include "app/PanelLayout.h"
#include "platform/Log.h"
#include "platform/Paths.h"

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

bool savedStartAtLogin() {
    return AppDelegate::settings()->value("startAtLogin", true).toBool();
}

void saveStartAtLogin(bool enabled) {
    const auto settings = AppDelegate::settings();
    settings->setValue("startAtLogin", enabled);
    settings->sync();
    try {
        applyAutostart(enabled, configHome(),
                       QCoreApplication::applicationFilePath().toStdString());
    } catch (const std::exception& error) {
        log(std::string("autostart entry not updated: ") + error.what());
    }
}

}  // namespace

WelcomeWindowController& WelcomeWindowController::shared() {
    static auto* controller = new WelcomeWindowController;
    return *controller;
}

WelcomeWindowController::WelcomeWindowController(Desktop desktop,
                                                 std::optional<WheelSupport> support)
    : quit([] { QApplication::quit(); }),
      launch(startDetached),
      enable([] { return enableCompanion(); }),
      startsAtLogin(savedStartAtLogin),
      setStartAtLogin(saveStartAtLogin),
      desktop_(desktop),
      support_(support) {}

Panel* WelcomeWindowController::makeWindow() {
    if (window_) return window_;
    if (!support_) support_ = wheelSupport(waylandSession());
    const TraySettings settings = traySettings(desktop_);
    QPushButton* settingsButton = nullptr;
    if (*support_ == WheelSupport::companionOff) {
        // The window has one place for an extra button; switching the reporter on matters
        // more than the tray settings, which the text still names.
        settingsButton =
            button(WelcomeTexts::enableCompanion, this, &WelcomeWindowController::enableReporter);
    } else if (!settings.buttonTitle.empty()) {
        settingsButton = button(QString::fromStdString(settings.buttonTitle), this,
                                &WelcomeWindowController::openSettings);
    }
    if (settingsButton) buttonTitles_.push_back(settingsButton->text());
    // The left side holds the start-at-login choice and, where there is one, the button
    // that opens the desktop's tray settings.
    auto* left = new QWidget;
    auto* row = new QHBoxLayout(left);
    row->setContentsMargins(0, 0, 0, 0);
    auto* startAtLogin = new QCheckBox(WelcomeTexts::startAtLogin);
    startAtLogin->setChecked(startsAtLogin());
    connect(startAtLogin, &QCheckBox::toggled, this, &WelcomeWindowController::startAtLoginToggled);
    row->addWidget(startAtLogin);
    if (settingsButton) row->addWidget(settingsButton);
    QPushButton* quitButton = button(WelcomeTexts::quit, this, &WelcomeWindowController::quitApp);
    QPushButton* okButton = button(WelcomeTexts::ok, this, &WelcomeWindowController::closeWindow);
    okButton->setDefault(true);
    buttonTitles_.push_back(quitButton->text());
    buttonTitles_.push_back(okButton->text());
    window_ = PanelLayout::makePanel(WelcomeTexts::windowTitle, WelcomeTexts::head,
                                     QString::fromStdString(welcomeBody(desktop_, *support_)), left,
                                     {quitButton, okButton}, this)
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

void WelcomeWindowController::enableReporter() {
    if (window_) window_->hide();
    if (enable()) {
        log("끌기 도우미(GNOME Shell 확장)를 켰다");
    } else {
        log("끌기 도우미(GNOME Shell 확장)를 켤 수 없음: 로그아웃했다가 다시 로그인해 보세요");
    }
}

void WelcomeWindowController::quitApp() {
    quit();
}

void WelcomeWindowController::startAtLoginToggled(bool enabled) {
    setStartAtLogin(enabled);
}

void WelcomeWindowController::closeWindow() {
    if (window_) window_->hide();
}

}  // namespace tavrino::app
