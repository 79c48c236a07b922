#pragma once
// The program's mark, an anvil with two sparks: the tray icon, the icon of the welcome and
// conflict windows, and the sample sheet the preview mode writes.

#include <QColor>
#include <QImage>
#include <QPainterPath>

namespace tavrino::app::AnvilIcon {

// The icon's size in device-independent pixels.
inline constexpr int iconWidth = 22;
inline constexpr int iconHeight = 18;

// The anvil and its two sparks in the icon's 22 × 18 frame, y growing downward.
QPainterPath anvilPath();

// The icon filled with `color`, `scale` device pixels per point, on transparency.
QImage menuBarIcon(const QColor& color, qreal scale = 1.0);

// A square tray icon of side `size` device pixels: the anvil scaled to fit, centred.
QImage trayIcon(const QColor& color, int size);

// A 360 × 144 sample of the icon on a light and a dark ground, at `scale`.
QImage iconSample(qreal scale = 2.0);

}  // namespace tavrino::app::AnvilIcon
