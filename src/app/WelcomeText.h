#pragma once
// The words of the welcome and conflict windows. They tell the user where the tray item
// lives, which depends on the desktop: GNOME shows no tray without an extension, KDE hides
// new items behind an arrow, XFCE and MATE need a tray applet on the panel. Plain strings,
// no toolkit, so every wording can be checked without a display.

#include <string>
#include <string_view>
#include <vector>

namespace tavrino::app {

enum class Desktop { gnome, kde, xfce, cinnamon, mate, other };

// From $XDG_CURRENT_DESKTOP, a colon-separated list such as "ubuntu:GNOME".
Desktop desktopFrom(std::string_view currentDesktop);
Desktop currentDesktop();
// Whether this session is a Wayland one, where only the compositor sees other programs'
// drags and the wheel needs a companion inside it.
bool waylandSession();

// Where the wheel stands in this session.
enum class WheelSupport {
    x11,              // the watcher sees every drag itself
    companionActive,  // Wayland, and the compositor's drag reporter is running
    companionOff,     // the shell knows the reporter but it is switched off
    companionUnread,  // installed after the shell started: it reads extensions at log-in
    unsupported,      // a Wayland compositor Tavrino has no reporter for
};

// How to reach the settings that decide whether the tray item is shown.
struct TraySettings {
    std::string buttonTitle;                         // empty when there is nothing to open
    std::vector<std::vector<std::string>> commands;  // candidates, first one installed wins
    std::string hint;                                // where to look when the icon is missing
};
TraySettings traySettings(Desktop desktop);

// What the drag reporter is on this desktop's compositor: a GNOME Shell extension, a KWin
// effect.
std::string companionName(Desktop desktop);

// What still works on a Wayland session, where the wheel cannot open.
std::string waylandAlternatives();

// The welcome window's body: paragraphs separated by one blank line.
std::string welcomeBody(Desktop desktop, WheelSupport support);

namespace WelcomeTexts {
inline constexpr const char* windowTitle = "Tavrino 안내";
inline constexpr const char* head = "Tavrino 실행 중";
inline constexpr const char* quit = "Tavrino 종료";
inline constexpr const char* ok = "확인";
inline constexpr const char* enableCompanion = "끌기 도우미 켜기";
inline constexpr const char* startAtLogin = "로그인 시 시작";
}  // namespace WelcomeTexts

namespace ConflictTexts {
inline constexpr const char* windowTitle = "Tavrino";
inline constexpr const char* head = "Tavrino가 이미 실행 중";
inline constexpr const char* close = "닫기";
inline constexpr const char* continueButton = "이전 Tavrino 종료 후 계속";
std::string body();
std::string waiting();
std::string timedOut();
}  // namespace ConflictTexts

}  // namespace tavrino::app
