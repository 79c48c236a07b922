#include "wheel/Badges.h"

#include <QPainterPath>

namespace tavrino::wheel {
namespace {

QPen markPen(double width) {
    return QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Points in a 24 x 24 design square, placed into rect.
QPointF at(const QRectF& rect, double x, double y) {
    return {rect.left() + rect.width() * x / 24, rect.top() + rect.height() * y / 24};
}

void drawDisc(QPainter& painter, const QRectF& rect, const QColor& color) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(rect);
}

void drawCheckMark(QPainter& painter, const QRectF& rect) {
    QPainterPath mark;
    mark.moveTo(at(rect, 7.2, 12.4));
    mark.lineTo(at(rect, 10.6, 15.8));
    mark.lineTo(at(rect, 16.9, 8.9));
    painter.setPen(markPen(rect.width() * 2.4 / 24));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(mark);
}

void drawCross(QPainter& painter, const QRectF& rect) {
    painter.setPen(markPen(rect.width() * 2.3 / 24));
    painter.drawLine(at(rect, 8.2, 8.2), at(rect, 15.8, 15.8));
    painter.drawLine(at(rect, 15.8, 8.2), at(rect, 8.2, 15.8));
}

// A triangle with softly rounded corners and a white exclamation mark.
void drawWarning(QPainter& painter, const QRectF& rect, const QColor& color) {
    const double w = rect.width();
    const double h = rect.height();
    const QPointF top(rect.center().x(), rect.top() + h * 0.04);
    const QPointF left(rect.left() + w * 0.03, rect.bottom() - h * 0.04);
    const QPointF right(rect.right() - w * 0.03, rect.bottom() - h * 0.04);
    QPainterPath triangle;
    triangle.moveTo(top);
    triangle.lineTo(right);
    triangle.lineTo(left);
    triangle.closeSubpath();
    painter.setPen(QPen(color, w * 0.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(color);
    painter.drawPath(triangle);
    const double x = rect.center().x();
    painter.setPen(markPen(w * 0.095));
    painter.drawLine(QPointF(x, rect.top() + h * 0.36), QPointF(x, rect.top() + h * 0.62));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(x, rect.top() + h * 0.79), w * 0.06, w * 0.06);
}

}  // namespace

QSizeF badgeSize(Badge badge) {
    return badge == Badge::check ? QSizeF(26, 23) : QSizeF(24, 24);
}

void drawBadge(QPainter& painter, Badge badge, const QRectF& rect, const WheelColors& colors) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    switch (badge) {
        case Badge::done:
            drawDisc(painter, rect, colors.green);
            drawCheckMark(painter, rect);
            break;
        case Badge::failed:
            drawDisc(painter, rect, colors.red);
            drawCross(painter, rect);
            break;
        case Badge::check:
            drawWarning(painter, rect, colors.yellow);
            break;
    }
    painter.restore();
}

}  // namespace tavrino::wheel
