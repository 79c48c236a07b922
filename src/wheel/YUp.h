#pragma once
// The one place where the wheel's geometry (y up, origin bottom left) meets Qt's widget
// coordinates (y down, origin top left). Everything the wheel computes stays in y-up points;
// it is converted here, at the moment it is handed to QPainter or read from an event.

#include <QPainterPath>
#include <QPointF>
#include <QRectF>

#include "wheel/geometry/WheelGeometry.h"

namespace tavrino::wheel {

class YUp {
  public:
    explicit YUp(double viewHeight) : height_(viewHeight) {}

    QPointF toQt(Point p) const { return {p.x, height_ - p.y}; }
    Point fromQt(QPointF p) const { return {p.x(), height_ - p.y()}; }

    // A rectangle given by its bottom-left corner in y-up coordinates.
    QRectF rect(double x, double bottom, double width, double height) const {
        return {x, height_ - bottom - height, width, height};
    }

    // Arcs keep their angles: Qt measures arc angles counterclockwise as seen on screen,
    // which is the y-up sense once the centre is moved.
    QPainterPath path(const Outline& outline) const;

  private:
    double height_;
};

}  // namespace tavrino::wheel
