#pragma once
// The compositor companion as the tray application sees it: whether the compositor has the
// drag reporter and runs it, and switching it on. GNOME Shell runs it as an extension,
// switched on through the shell's own Extensions interface (the call the Extensions
// application makes); KWin runs it as an effect, loaded through its Effects interface and
// kept on in its configuration, as its effect settings do.

#include <QDBusConnection>

#include "app/WelcomeText.h"

namespace tavrino::app {

inline constexpr const char* companionUuid = "tavrino-drag@korvanta.app";
inline constexpr const char* kwinEffectId = "tavrino_kwin_drag";

// Whether the compositor gives a drag's files to an X11 window only while it is the active
// window: KWin refuses XWayland clients the data of a Wayland drag otherwise, so there the
// wheel must accept the activation a drag over it brings.
bool dropsNeedActiveWindow(Desktop desktop);

// x11 outside Wayland; unsupported where neither GNOME Shell nor KWin answers.
WheelSupport wheelSupport(bool wayland, QDBusConnection bus = QDBusConnection::sessionBus());
// Whether the compositor accepted the request; it starts the reporter at once when it has
// read it.
bool enableCompanion(QDBusConnection bus = QDBusConnection::sessionBus());

}  // namespace tavrino::app
