#pragma once
// The welcome window: how to open the wheel and where the tray item lives, with buttons to
// open the desktop's tray settings (where the desktop is known), to switch on the drag
// reporter (a Wayland session where it is off), to quit, and to close.
// One shared instance; the panel is built on first use and only hidden afterwards.

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "app/Panel.h"
#include "app/WelcomeText.h"

namespace tavrino::app {

class WelcomeWindowController : public QObject, public PanelDelegate {
    Q_OBJECT
  public:
    static WelcomeWindowController& shared();

    // The wheel's support is asked for only when the window is first built.
    explicit WelcomeWindowController(Desktop desktop = currentDesktop(),
                                     std::optional<WheelSupport> support = std::nullopt);

    // The panel, built on the first call.
    Panel* makeWindow();
    // Builds if needed, then places and shows the panel.
    void showWindow();

    // The titles of the panel's buttons: settings (when there is one), quit, OK.
    const std::vector<QString>& buttonTitles() const { return buttonTitles_; }

    // Replaceable for tests: what quitting and opening the settings do.
    std::function<void()> quit;
    std::function<bool(const std::vector<std::string>& command)> launch;
    std::function<bool()> enable;
    // The start-at-login setting the checkbox shows and changes; by default the
    // "startAtLogin" setting, with the autostart entry following it at once.
    std::function<bool()> startsAtLogin;
    std::function<void(bool)> setStartAtLogin;

  public Q_SLOTS:
    void openSettings();
    void quitApp();
    void closeWindow();
    void enableReporter();
    void startAtLoginToggled(bool enabled);

  private:
    Desktop desktop_;
    std::optional<WheelSupport> support_;
    Panel* window_ = nullptr;
    std::vector<QString> buttonTitles_;
};

}  // namespace tavrino::app
