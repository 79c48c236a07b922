#include "app/CropCanvas.h"

#include <QMouseEvent>
#include <QPainter>

namespace tavrino::app {
namespace {

QRectF toQt(const crop::Rect& r) {
    return {r.x, r.y, r.width, r.height};
}

crop::Point toPoint(const QPointF& p) {
    return {p.x(), p.y()};
}

}  // namespace

CropCanvas::CropCanvas(QImage picture, crop::Size imageSize, QWidget* parent)
    : QWidget(parent),
      picture_(std::move(picture)),
      geometry_(imageSize),
      accent_(palette().color(QPalette::Highlight)) {
    // The cursor shows what a press would grab even before the first press.
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

crop::Size CropCanvas::bounds() const {
    return {static_cast<double>(width()), static_cast<double>(height())};
}

crop::Rect CropCanvas::imageRect() const {
    return crop::imageRect(geometry_.image(), bounds());
}

crop::Rect CropCanvas::cropInView() const {
    return crop::toView(geometry_.image(), bounds(), geometry_.crop());
}

void CropCanvas::setAspect(std::optional<double> aspect) {
    if (geometry_.setAspect(aspect)) {
        changed();
    } else {
        update();  // free again: the same rectangle, now with its edge handles
    }
}

void CropCanvas::reset() {
    geometry_.reset();
    changed();
}

void CropCanvas::changed() {
    update();
    if (onChange) onChange();
}

void CropCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), background());

    const QRectF image = toQt(imageRect());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(image, picture_);

    // The picture minus the crop, as the four bands around it: the same area as an even-odd
    // fill of both rectangles, without the cost of a path over the whole canvas.
    const crop::Rect cropView = cropInView();
    const QRectF area = toQt(cropView);
    const QColor dim = QColor::fromRgbF(0, 0, 0, 0.55f);
    painter.fillRect(QRectF(image.left(), image.top(), image.width(), area.top() - image.top()),
                     dim);
    painter.fillRect(
        QRectF(image.left(), area.bottom(), image.width(), image.bottom() - area.bottom()), dim);
    painter.fillRect(QRectF(image.left(), area.top(), area.left() - image.left(), area.height()),
                     dim);
    painter.fillRect(QRectF(area.right(), area.top(), image.right() - area.right(), area.height()),
                     dim);

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor::fromRgbF(1, 1, 1, 0.28f), 0.5));
    for (double third : {1.0 / 3.0, 2.0 / 3.0}) {
        const double x = area.left() + area.width() * third;
        const double y = area.top() + area.height() * third;
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }

    painter.setPen(QPen(accent_, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0.75, 0.75, -0.75, -0.75));

    painter.setPen(Qt::NoPen);
    painter.setBrush(accent_);
    for (const crop::Rect& bar : crop::cornerBars(cropView))
        painter.drawRect(toQt(bar));
    if (!geometry_.aspect()) {
        for (const crop::Rect& handle : crop::edgeHandles(cropView)) {
            painter.drawRoundedRect(toQt(handle), crop::edgeHandleRadius, crop::edgeHandleRadius);
        }
    }
}

void CropCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (geometry_.press(toPoint(event->position()), bounds()) == crop::Grip::move) {
        setCursor(Qt::ClosedHandCursor);
    }
}

void CropCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (!geometry_.grip()) {
        updateCursor(event->position());
        return;
    }
    if (geometry_.dragTo(toPoint(event->position()), bounds())) changed();
}

void CropCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    geometry_.release();
    updateCursor(event->position());
}

void CropCanvas::updateCursor(const QPointF& at) {
    // One cursor area: the open hand over the crop rectangle.
    if (toQt(cropInView()).contains(at)) {
        setCursor(Qt::OpenHandCursor);
    } else {
        unsetCursor();
    }
}

}  // namespace tavrino::app
