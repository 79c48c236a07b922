#pragma once
// The result badges of the hub, drawn in code: a white check on a green disc, a white cross
// on a red disc, and a yellow warning triangle with a white mark.

#include <QPainter>
#include <QRectF>
#include <QSizeF>

#include "wheel/WheelStyle.h"

namespace tavrino::wheel {

enum class Badge { done, failed, check };

// The natural size in points, matching a 22-point symbol.
QSizeF badgeSize(Badge badge);

void drawBadge(QPainter& painter, Badge badge, const QRectF& rect, const WheelColors& colors);

}  // namespace tavrino::wheel
