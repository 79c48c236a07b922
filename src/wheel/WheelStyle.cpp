#include "wheel/WheelStyle.h"

#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPalette>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

namespace tavrino::wheel {
namespace {

QFont::Weight qtWeight(FontWeight weight) {
    switch (weight) {
        case FontWeight::regular:
            return QFont::Normal;
        case FontWeight::medium:
            return QFont::Medium;
        case FontWeight::semibold:
            return QFont::DemiBold;
    }
    return QFont::Normal;
}

std::optional<bool> gtkAnimationsOff() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    for (const char* version : {"gtk-4.0", "gtk-3.0"}) {
        const QString file = dir + "/" + version + "/settings.ini";
        if (!QFileInfo::exists(file)) continue;
        const QSettings settings(file, QSettings::IniFormat);
        const QVariant value = settings.value("Settings/gtk-enable-animations");
        if (value.isValid()) return !value.toBool();
    }
    return std::nullopt;
}

std::optional<bool> kdeAnimationsOff() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString file = dir + "/kdeglobals";
    if (!QFileInfo::exists(file)) return std::nullopt;
    const QSettings settings(file, QSettings::IniFormat);
    const QVariant factor = settings.value("KDE/AnimationDurationFactor");
    if (!factor.isValid()) return std::nullopt;
    return factor.toDouble() == 0;
}

// GNOME keeps the switch in dconf; asking gsettings is the only portable way to read it.
std::optional<bool> gnomeAnimationsOff() {
    if (QStandardPaths::findExecutable("gsettings").isEmpty()) return std::nullopt;
    if (!qEnvironmentVariable("XDG_CURRENT_DESKTOP").contains("GNOME", Qt::CaseInsensitive)) {
        return std::nullopt;
    }
    QProcess process;
    process.start("gsettings", {"get", "org.gnome.desktop.interface", "enable-animations"});
    if (!process.waitForFinished(300)) {
        process.kill();
        process.waitForFinished(100);
        return std::nullopt;
    }
    const QString answer = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    if (answer != "true" && answer != "false") return std::nullopt;
    return answer == "false";
}

bool readReducedMotion() {
    if (auto off = gnomeAnimationsOff()) return *off;
    if (auto off = kdeAnimationsOff()) return *off;
    if (auto off = gtkAnimationsOff()) return *off;
    return false;
}

}  // namespace

QFont wheelFont(double points, FontWeight weight) {
    QFont font;
    font.setFamilies({"Noto Sans CJK KR", "Noto Sans KR", "NanumGothic", QFont().family()});
    // Qt's points are 1/72 inch at a logical 96 dpi; the wheel's points are device-independent
    // pixels, so the size is given as 3/4 of that in Qt's points.
    font.setPointSizeF(points * 72.0 / 96.0);
    font.setWeight(qtWeight(weight));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

WheelColors wheelColors() {
    WheelColors colors;
    QColor accent = QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight);
    if (!accent.isValid()) accent = QColor(10, 132, 255);
    colors.accent = accent.toRgb();
    return colors;
}

QColor blended(const QColor& a, double f, const QColor& b) {
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * f),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * f),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * f),
                            static_cast<float>(a.alphaF() + (b.alphaF() - a.alphaF()) * f));
}

QColor withAlpha(QColor color, double alpha) {
    color.setAlphaF(static_cast<float>(alpha));
    return color;
}

bool desktopReducesMotion() {
    return readReducedMotion();
}

}  // namespace tavrino::wheel
