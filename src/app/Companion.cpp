#include "app/Companion.h"

#include <QDBusInterface>
#include <QDBusReply>
#include <QVariantMap>

namespace tavrino::app {
namespace {

// The shell's numbering of an extension's state.
constexpr int enabledState = 1;

QDBusInterface extensions(const QDBusConnection& bus) {
    return QDBusInterface("org.gnome.Shell", "/org/gnome/Shell", "org.gnome.Shell.Extensions", bus);
}

}  // namespace

WheelSupport wheelSupport(bool wayland, QDBusConnection bus) {
    if (!wayland) return WheelSupport::x11;
    QDBusInterface shell = extensions(bus);
    if (!shell.isValid()) return WheelSupport::unsupported;
    const QDBusReply<QVariantMap> info = shell.call("GetExtensionInfo", companionUuid);
    if (!info.isValid()) return WheelSupport::unsupported;
    // An extension the shell has not read comes back as an empty map.
    if (info.value().isEmpty()) return WheelSupport::companionUnread;
    const int state = static_cast<int>(info.value().value("state").toDouble());
    return state == enabledState ? WheelSupport::companionActive : WheelSupport::companionOff;
}

bool enableCompanion(QDBusConnection bus) {
    QDBusInterface shell = extensions(bus);
    if (!shell.isValid()) return false;
    const QDBusReply<bool> reply = shell.call("EnableExtension", companionUuid);
    return reply.isValid() && reply.value();
}

}  // namespace tavrino::app
