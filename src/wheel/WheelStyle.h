#pragma once
// Fonts, colours and desktop settings of one drawing pass. The panel is always dark, so the
// colours are fixed white-on-dark values; only the accent follows the desktop (the palette's
// highlight colour).

#include <QColor>
#include <QFont>

#include "wheel/geometry/HubContent.h"

namespace tavrino::wheel {

// A Korean-capable sans at a size in wheel points (one point is one device-independent
// pixel), falling back to the desktop's font for anything it lacks.
QFont wheelFont(double points, FontWeight weight);
inline QFont wheelFont(const TextStyle& style) {
    return wheelFont(style.points, style.weight);
}

struct WheelColors {
    QColor primary{255, 255, 255, 240};    // white at 0.94
    QColor secondary{255, 255, 255, 122};  // white at 0.48
    QColor divider{255, 255, 255, 28};     // white at 0.11
    QColor accent;
    QColor green{48, 209, 88};
    QColor red{255, 69, 58};
    QColor yellow{255, 214, 10};
};
// Built at the start of every pass so that a changed accent shows at once.
WheelColors wheelColors();

// The fraction f of the way from a to b, alpha included.
QColor blended(const QColor& a, double f, const QColor& b);
QColor withAlpha(QColor color, double alpha);

// Whether the desktop asks for reduced motion: GNOME's and GTK's animation switches and
// KDE's animation speed, where they can be read; off otherwise. Reading GNOME's switch starts
// a short process, so callers read it when a wheel opens, not on every frame.
bool desktopReducesMotion();

}  // namespace tavrino::wheel
