#pragma once
// The compositor companion as the tray application sees it: whether GNOME Shell has the
// drag reporter and runs it, and switching it on through the shell's own Extensions
// interface on the session bus (the same call as the Extensions application makes).

#include <QDBusConnection>

#include "app/WelcomeText.h"

namespace tavrino::app {

inline constexpr const char* companionUuid = "tavrino-drag@korvanta.app";

// x11 outside Wayland; unsupported where no GNOME Shell answers.
WheelSupport wheelSupport(bool wayland, QDBusConnection bus = QDBusConnection::sessionBus());
// Whether the shell accepted the request; it starts the reporter at once when it has read it.
bool enableCompanion(QDBusConnection bus = QDBusConnection::sessionBus());

}  // namespace tavrino::app
