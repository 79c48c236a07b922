#include "wheel/PetalGlow.h"

#include <QHash>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "wheel/YUp.h"

namespace tavrino::wheel {
namespace {

struct Glow {
    QImage image;    // premultiplied accent with the blurred shape as alpha
    QPointF origin;  // its top-left corner in view points for lift 0, before the drop
};

// One pass of a running-sum box blur of the alpha channel along rows (or, with a column
// stride, along columns). Three passes come close to a Gaussian.
void boxBlur(std::vector<float>& values, int count, int length, int stride, int step, int radius) {
    std::vector<float> line(static_cast<size_t>(length));
    const float scale = 1.0f / static_cast<float>(2 * radius + 1);
    for (int k = 0; k < count; ++k) {
        float* base = values.data() + static_cast<ptrdiff_t>(k) * stride;
        for (int i = 0; i < length; ++i)
            line[static_cast<size_t>(i)] = base[i * step];
        float sum = 0;
        for (int i = -radius; i <= radius; ++i) {
            if (i >= 0 && i < length) sum += line[static_cast<size_t>(i)];
        }
        for (int i = 0; i < length; ++i) {
            base[i * step] = sum * scale;
            const int leaving = i - radius;
            const int entering = i + radius + 1;
            if (leaving >= 0) sum -= line[static_cast<size_t>(leaving)];
            if (entering < length) sum += line[static_cast<size_t>(entering)];
        }
    }
}

Glow makeGlow(Bounds bounds, int petals, int index, double ratio, const QColor& accent) {
    const YUp yUp(bounds.height);
    const QPainterPath petal = yUp.path(petalShape(bounds, petals, index, 0));
    const double margin = 2 * glowBlur;
    const QRectF box = petal.boundingRect().adjusted(-margin, -margin, margin, margin);
    const int w = static_cast<int>(std::ceil(box.width() * ratio));
    const int h = static_cast<int>(std::ceil(box.height() * ratio));
    QImage shape(w, h, QImage::Format_Alpha8);
    shape.fill(0);
    {
        QPainter painter(&shape);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(ratio, ratio);
        painter.translate(-box.topLeft());
        painter.fillPath(petal, Qt::black);
    }
    std::vector<float> alpha(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        const uchar* row = shape.constScanLine(y);
        for (int x = 0; x < w; ++x)
            alpha[static_cast<size_t>(y * w + x)] = row[x] / 255.0f;
    }
    // Three box passes come close to a Gaussian; together they reach three box radii
    // beyond the petal, which is kept within the blur radius so that a raised outer petal's
    // glow (162 + 2 lift + 2 drop + 10) stays inside the 176-point wheel.
    const int radius = std::max(1, static_cast<int>(std::floor(glowBlur * ratio / 3)));
    for (int pass = 0; pass < 3; ++pass) {
        boxBlur(alpha, h, w, w, 1, radius);
        boxBlur(alpha, w, h, 1, w, radius);
    }
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const float a = std::clamp(alpha[static_cast<size_t>(y * w + x)], 0.0f, 1.0f);
            const float k = a * static_cast<float>(glowAlpha * accent.alphaF());
            row[x] = qRgba(qRound(accent.red() * k), qRound(accent.green() * k),
                           qRound(accent.blue() * k), qRound(255 * k));
        }
    }
    image.setDevicePixelRatio(ratio);
    return {image, box.topLeft()};
}

const Glow& glowFor(Bounds bounds, int petals, int index, double ratio, const QColor& accent) {
    static QHash<QString, Glow> glows;
    const QString key = QString("%1x%2/%3/%4@%5/%6")
                            .arg(bounds.width)
                            .arg(bounds.height)
                            .arg(petals)
                            .arg(index)
                            .arg(ratio)
                            .arg(accent.rgba());
    auto found = glows.find(key);
    if (found == glows.end()) {
        if (glows.size() > 64) glows.clear();  // a few wheels' worth; never grows unbounded
        found = glows.insert(key, makeGlow(bounds, petals, index, ratio, accent));
    }
    return *found;
}

}  // namespace

void drawPetalGlow(QPainter& painter, Bounds bounds, int petals, int index, double lift,
                   const QColor& accent) {
    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const Glow& glow = glowFor(bounds, petals, index, ratio, accent);
    const double mid = midAngle(petals, index) * std::numbers::pi / 180;
    // Lifting moves the petal outwards (y up); the drop moves the glow down the screen.
    const QPointF shift(lift * std::cos(mid), -lift * std::sin(mid) + glowDrop);
    const QSizeF size(glow.image.width() / ratio, glow.image.height() / ratio);
    painter.drawImage(QRectF(glow.origin + shift, size), glow.image);
}

}  // namespace tavrino::wheel
