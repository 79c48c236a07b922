#include "app/SegmentedControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace tavrino::app {
namespace {

constexpr int padding = 8;  // on each side of a label
constexpr int segmentHeight = 24;
constexpr double radius = 6;

}  // namespace

SegmentedControl::SegmentedControl(QStringList labels, QWidget* parent)
    : QWidget(parent), labels_(std::move(labels)) {
    QFont small = font();
    small.setPixelSize(12);
    setFont(small);
    setFixedSize(sizeHint());
}

void SegmentedControl::setSelected(int index) {
    if (index < 0 || index >= count() || index == selected_) return;
    selected_ = index;
    update();
}

int SegmentedControl::segmentWidth(int index) const {
    return fontMetrics().horizontalAdvance(labels_[index]) + 2 * padding;
}

QRect SegmentedControl::segmentRect(int index) const {
    int x = 0;
    for (int i = 0; i < index; ++i)
        x += segmentWidth(i);
    return {x, 0, segmentWidth(index), segmentHeight};
}

QSize SegmentedControl::sizeHint() const {
    int width = 0;
    for (int i = 0; i < count(); ++i)
        width += segmentWidth(i);
    return {width, segmentHeight};
}

void SegmentedControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colours = palette();
    const QRectF whole = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(colours.color(QPalette::Mid), 1));
    painter.setBrush(colours.color(QPalette::Button));
    painter.drawRoundedRect(whole, radius, radius);

    for (int i = 0; i < count(); ++i) {
        const QRect segment = segmentRect(i);
        if (i == selected_) {
            QPainterPath clip;
            clip.addRoundedRect(whole, radius, radius);
            painter.save();
            painter.setClipPath(clip);
            painter.fillRect(segment.adjusted(1, 1, -1, -1), colours.color(QPalette::Light));
            painter.restore();
        } else if (i > 0 && i - 1 != selected_) {
            painter.setPen(QPen(colours.color(QPalette::Mid), 1));
            painter.drawLine(QPointF(segment.left() + 0.5, 5),
                             QPointF(segment.left() + 0.5, segmentHeight - 5));
        }
        painter.setPen(colours.color(QPalette::ButtonText));
        painter.drawText(segment, Qt::AlignCenter, labels_[i]);
    }
}

void SegmentedControl::mousePressEvent(QMouseEvent* event) {
    for (int i = 0; i < count(); ++i) {
        if (!segmentRect(i).contains(event->position().toPoint())) continue;
        if (i != selected_) {
            selected_ = i;
            update();
            Q_EMIT selectionChanged(i);
        }
        return;
    }
}

}  // namespace tavrino::app
