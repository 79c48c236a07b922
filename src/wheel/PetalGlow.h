#pragma once
// The accent glow under a raised petal: the petal's shape blurred, tinted with the accent,
// two points lower. Blurring is far too slow to repeat on every frame of the hover easing,
// and a petal's shape never changes while it rises (lifting only moves it), so each glow is
// made once per wheel size, petal count, petal, pixel ratio and accent, and then moved.

#include <QColor>
#include <QPainter>

#include "wheel/geometry/WheelGeometry.h"

namespace tavrino::wheel {

inline constexpr double glowAlpha = 0.45;
inline constexpr double glowBlur = 10;  // the blur radius in points
inline constexpr double glowDrop = 2;   // how far below the petal it falls, in points

// Draws the glow of petal `index` lifted by `lift`, at the painter's current opacity.
void drawPetalGlow(QPainter& painter, Bounds bounds, int petals, int index, double lift,
                   const QColor& accent);

}  // namespace tavrino::wheel
