#include "app/AppDelegate.h"

#include <unistd.h>

#include <QApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QUrl>

#include "app/AnvilIcon.h"
#include "app/Autostart.h"
#include "app/ConflictWindowController.h"
#include "app/StatusMenu.h"
#include "app/WelcomeText.h"
#include "app/WelcomeWindowController.h"
#include "platform/Bundle.h"
#include "platform/Log.h"
#include "platform/Paths.h"

namespace tavrino::app {

QColor trayInk() {
    if (currentDesktop() == Desktop::gnome) return QColor(242, 242, 242);
    return QApplication::palette().color(QPalette::WindowText);
}

AppDelegate::AppDelegate(std::unique_ptr<DragWatcher> controller)
    : controller_(std::move(controller)) {}

AppDelegate::~AppDelegate() = default;

std::unique_ptr<QSettings> AppDelegate::settings() {
    const QString file =
        QString::fromStdString((configHome() / "tavrino" / "tavrino.ini").string());
    return std::make_unique<QSettings>(file, QSettings::IniFormat);
}

void AppDelegate::applicationDidFinishLaunching() {
    HandoverHooks hooks;
    hooks.findOlder = findOlderCopy;
    hooks.started = [this] { return started_; };
    hooks.startNormally = [this] { startNormally(); };
    hooks.showWelcome = [] { WelcomeWindowController::shared().showWindow(); };
    hooks.quit = [] { QApplication::quit(); };
    hooks.presentConflict = [](const RunningCopy& older, std::function<void()> onContinue) {
        ConflictWindowController::shared().present(older, std::move(onContinue));
    };
    handover_ = std::make_unique<Handover>(bus_, qtScheduler(), copyIdentity(), ::getpid(),
                                           std::move(hooks));
    handover_->launch();
}

void AppDelegate::startNormally() {
    started_ = true;
    statusItem_ = std::make_unique<QSystemTrayIcon>();
    statusItem_->setToolTip("Tavrino");
    updateIcon();
    qApp->installEventFilter(this);
    rebuildMenu();
    statusItem_->show();
    controller_->start();
    const auto defaults = settings();
    try {
        applyAutostart(defaults->value("startAtLogin", true).toBool(), configHome(),
                       QCoreApplication::applicationFilePath().toStdString());
    } catch (const std::exception& error) {
        log(std::string("autostart entry not updated: ") + error.what());
    }
    if (!defaults->value("welcomeShown", false).toBool()) {
        defaults->setValue("welcomeShown", true);
        defaults->sync();
        WelcomeWindowController::shared().showWindow();
        log("안내 창 띄움(첫 실행)");
    }
}

void AppDelegate::rebuildMenu() {
    if (!statusItem_) return;
    auto menu = std::make_unique<QMenu>();
    for (const StatusMenuEntry& entry : statusMenuEntries(bundleInfo("version"))) {
        if (entry.separator) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromStdString(entry.title));
        action->setEnabled(entry.enabled);
        if (!entry.shortcut.empty()) {
            action->setShortcut(QKeySequence(QString::fromStdString(entry.shortcut)));
        }
        switch (entry.action) {
            case StatusMenuEntry::Action::showWelcome:
                connect(action, &QAction::triggered, this, &AppDelegate::showWelcome);
                break;
            case StatusMenuEntry::Action::openNotices:
                connect(action, &QAction::triggered, this, &AppDelegate::openNotices);
                break;
            case StatusMenuEntry::Action::quit:
                connect(action, &QAction::triggered, qApp, &QApplication::quit);
                break;
            case StatusMenuEntry::Action::none:
                break;
        }
    }
    statusItem_->setContextMenu(menu.get());
    menu_ = std::move(menu);
}

void AppDelegate::showWelcome() {
    WelcomeWindowController::shared().showWindow();
    log("안내 창 띄움(메뉴)");
}

void AppDelegate::openNotices() {
    const auto bundle = bundleDirectory();
    const auto notices =
        bundle ? *bundle / "Resources" / "THIRD_PARTY_NOTICES.txt" : std::filesystem::path();
    std::error_code error;
    if (!bundle || !std::filesystem::is_regular_file(notices, error)) {
        log("오픈소스 고지 파일 없음");
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(notices.string())));
}

bool AppDelegate::eventFilter(QObject* watched, QEvent* event) {
    // The desktop switched between light and dark: draw the anvil in the new text colour.
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange) updateIcon();
    return QObject::eventFilter(watched, event);
}

void AppDelegate::updateIcon() {
    if (!statusItem_) return;
    QIcon icon;
    const QColor ink = trayInk();
    for (int size : {16, 22, 24, 32, 44, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(AnvilIcon::trayIcon(ink, size)));
    }
    statusItem_->setIcon(icon);
}

}  // namespace tavrino::app
