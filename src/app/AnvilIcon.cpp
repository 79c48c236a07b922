#include "app/AnvilIcon.h"

#include <QPainter>

namespace tavrino::app::AnvilIcon {
namespace {

void addAnvil(QPainterPath& path) {
    path.moveTo(1.0, 6.9346);
    path.cubicTo(3.6144, 6.9346, 5.5098, 7.2614, 6.8824, 7.7843);
    path.lineTo(6.8824, 6.5425);
    path.lineTo(21.0, 6.5425);
    path.cubicTo(21.0, 8.0458, 19.9542, 9.0261, 17.9935, 9.4183);
    path.cubicTo(16.6863, 9.8105, 16.0327, 10.6601, 15.9020, 11.7712);
    path.lineTo(15.9020, 13.4052);
    path.cubicTo(15.9020, 14.0588, 16.6863, 14.7124, 17.9935, 15.0392);
    path.lineTo(18.6471, 15.4314);
    path.lineTo(18.6471, 17.0);
    path.lineTo(5.0523, 17.0);
    path.lineTo(5.0523, 15.4314);
    path.lineTo(5.7059, 15.0392);
    path.cubicTo(7.0131, 14.7124, 7.7974, 14.0588, 7.7974, 13.4052);
    path.lineTo(7.7974, 11.9020);
    path.cubicTo(7.5359, 10.4641, 6.2288, 9.4837, 4.5948, 8.8954);
    path.cubicTo(3.2876, 8.3725, 1.9804, 7.7843, 1.0, 6.9346);
    path.closeSubpath();
}

QImage transparentImage(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void paintAnvil(QPainter& painter, const QColor& color) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(anvilPath());
}

}  // namespace

QPainterPath anvilPath() {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    addAnvil(path);
    path.addEllipse(QRectF(12.6, 1.6, 2.6, 2.6));
    path.addEllipse(QRectF(16.4, 0.2, 2.0, 2.0));
    return path;
}

QImage menuBarIcon(const QColor& color, qreal scale) {
    QImage image = transparentImage(QSize(qRound(iconWidth * scale), qRound(iconHeight * scale)));
    QPainter painter(&image);
    painter.scale(scale, scale);
    paintAnvil(painter, color);
    return image;
}

QImage trayIcon(const QColor& color, int size) {
    QImage image = transparentImage(QSize(size, size));
    QPainter painter(&image);
    const qreal scale = qreal(size) / iconWidth;
    painter.translate(0, (size - iconHeight * scale) / 2);
    painter.scale(scale, scale);
    paintAnvil(painter, color);
    return image;
}

QImage iconSample(qreal scale) {
    QImage image(QSize(qRound(360 * scale), qRound(144 * scale)), QImage::Format_ARGB32);
    QPainter painter(&image);
    const QRectF light(0, 0, image.width() / 2.0, image.height());
    const QRectF dark(image.width() / 2.0, 0, image.width() / 2.0, image.height());
    painter.fillRect(light, QColor(236, 236, 236));
    painter.fillRect(dark, QColor(30, 30, 32));
    // Each half shows the tray size and an enlargement, in the text colour of its ground.
    const auto drawOn = [&](const QRectF& ground, const QColor& ink) {
        const qreal small = 1.0 * scale;
        const qreal large = 4.0 * scale;
        painter.drawImage(QPointF(ground.left() + 24 * scale, ground.center().y() - 9 * small),
                          menuBarIcon(ink, small));
        painter.drawImage(QPointF(ground.left() + 70 * scale, ground.center().y() - 9 * large),
                          menuBarIcon(ink, large));
    };
    drawOn(light, QColor(20, 20, 20));
    drawOn(dark, QColor(245, 245, 245));
    return image;
}

}  // namespace tavrino::app::AnvilIcon
