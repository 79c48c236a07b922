#include "app/Companion.h"

#include <QDBusInterface>
#include <QDBusReply>
#include <QProcess>
#include <QStringList>
#include <QVariantMap>
#include <optional>

namespace tavrino::app {
namespace {

// The shell's numbering of an extension's state.
constexpr int enabledState = 1;

QDBusInterface extensions(const QDBusConnection& bus) {
    return QDBusInterface("org.gnome.Shell", "/org/gnome/Shell", "org.gnome.Shell.Extensions", bus);
}

QDBusInterface kwinEffects(const QDBusConnection& bus) {
    return QDBusInterface("org.kde.KWin", "/Effects", "org.kde.kwin.Effects", bus);
}

std::optional<WheelSupport> gnomeSupport(const QDBusConnection& bus) {
    QDBusInterface shell = extensions(bus);
    if (!shell.isValid()) return std::nullopt;
    const QDBusReply<QVariantMap> info = shell.call("GetExtensionInfo", companionUuid);
    if (!info.isValid()) return WheelSupport::unsupported;
    // An extension the shell has not read comes back as an empty map.
    if (info.value().isEmpty()) return WheelSupport::companionUnread;
    const int state = static_cast<int>(info.value().value("state").toDouble());
    return state == enabledState ? WheelSupport::companionActive : WheelSupport::companionOff;
}

std::optional<WheelSupport> kwinSupport(const QDBusConnection& bus) {
    QDBusInterface effects = kwinEffects(bus);
    if (!effects.isValid()) return std::nullopt;
    const QDBusReply<bool> loaded = effects.call("isEffectLoaded", kwinEffectId);
    if (!loaded.isValid()) return WheelSupport::unsupported;
    if (loaded.value()) return WheelSupport::companionActive;
    // KWin lists the effects it can find; one it cannot is not where this session's KWin
    // looks for plugins yet (a new search path counts from the next log-in).
    const QStringList known = effects.property("listOfEffects").toStringList();
    return known.contains(kwinEffectId) ? WheelSupport::companionOff
                                        : WheelSupport::companionUnread;
}

bool enableKwinEffect(const QDBusConnection& bus) {
    QDBusInterface effects = kwinEffects(bus);
    if (!effects.isValid()) return false;
    const QDBusReply<bool> reply = effects.call("loadEffect", kwinEffectId);
    if (!reply.isValid() || !reply.value()) return false;
    // Loading lasts until KWin ends; its configuration keeps the effect on at the next
    // log-in. Failing that, the reporter still runs now.
    QProcess::execute("kwriteconfig5", {"--file", "kwinrc", "--group", "Plugins", "--key",
                                        QString(kwinEffectId) + "Enabled", "true"});
    return true;
}

}  // namespace

bool dropsNeedActiveWindow(Desktop desktop) {
    return desktop == Desktop::kde;
}

WheelSupport wheelSupport(bool wayland, QDBusConnection bus) {
    if (!wayland) return WheelSupport::x11;
    if (const auto gnome = gnomeSupport(bus)) return *gnome;
    if (const auto kwin = kwinSupport(bus)) return *kwin;
    return WheelSupport::unsupported;
}

bool enableCompanion(QDBusConnection bus) {
    QDBusInterface shell = extensions(bus);
    if (shell.isValid()) {
        const QDBusReply<bool> reply = shell.call("EnableExtension", companionUuid);
        return reply.isValid() && reply.value();
    }
    return enableKwinEffect(bus);
}

}  // namespace tavrino::app
