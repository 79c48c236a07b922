#pragma once
// The root of the running tray application. At launch it first settles which copy of the
// program runs (Handover); the normal start then puts the anvil into the tray with its menu,
// starts the drag watcher and shows the welcome window on the very first launch.

#include <QObject>
#include <QSettings>
#include <memory>

#include "app/DBusCopyBus.h"
#include "app/DragWatcher.h"
#include "app/Handover.h"

class QMenu;
class QSystemTrayIcon;

namespace tavrino::app {

class AppDelegate : public QObject {
    Q_OBJECT
  public:
    explicit AppDelegate(std::unique_ptr<DragWatcher> controller);
    ~AppDelegate() override;

    // Called once the event loop runs: the single-instance probe, then the normal start.
    void applicationDidFinishLaunching();
    void startNormally();
    void rebuildMenu();

    bool started() const { return started_; }
    QSystemTrayIcon* statusItem() const { return statusItem_.get(); }

    // $XDG_CONFIG_HOME/tavrino/tavrino.ini: "welcomeShown" lives there.
    static std::unique_ptr<QSettings> settings();

  public Q_SLOTS:
    void showWelcome();  // from the menu
    void openNotices();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void updateIcon();

    std::unique_ptr<DragWatcher> controller_;
    // The menu outlives the tray item that shows it.
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> statusItem_;
    bool started_ = false;
    DBusCopyBus bus_;
    std::unique_ptr<Handover> handover_;
};

// The colour the anvil is drawn in: the panel's text colour. GNOME's top bar is dark
// whatever the theme, elsewhere the panel follows the desktop's palette.
QColor trayInk();

}  // namespace tavrino::app
