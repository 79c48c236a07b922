#pragma once
// The welcome window: how to open the wheel and where the tray item lives, with buttons to
// open the desktop's tray settings (where the desktop is known), to quit, and to close.
// One shared instance; the panel is built on first use and only hidden afterwards.

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "app/Panel.h"
#include "app/WelcomeText.h"

namespace tavrino::app {

class WelcomeWindowController : public QObject, public PanelDelegate {
    Q_OBJECT
  public:
    static WelcomeWindowController& shared();

    explicit WelcomeWindowController(Desktop desktop = currentDesktop(),
                                     bool wayland = waylandSession());

    // The panel, built on the first call.
    Panel* makeWindow();
    // Builds if needed, then places and shows the panel.
    void showWindow();

    // The titles of the panel's buttons: settings (when there is one), quit, OK.
    const std::vector<QString>& buttonTitles() const { return buttonTitles_; }

    // Replaceable for tests: what quitting and opening the settings do.
    std::function<void()> quit;
    std::function<bool(const std::vector<std::string>& command)> launch;
    // The start-at-login setting the checkbox shows and changes; by default the
    // "startAtLogin" setting, with the autostart entry following it at once.
    std::function<bool()> startsAtLogin;
    std::function<void(bool)> setStartAtLogin;

  public Q_SLOTS:
    void openSettings();
    void quitApp();
    void closeWindow();
    void startAtLoginToggled(bool enabled);

  private:
    Desktop desktop_;
    bool wayland_;
    Panel* window_ = nullptr;
    std::vector<QString> buttonTitles_;
};

}  // namespace tavrino::app
