#include "wheel/Icons.h"

#include <QHash>
#include <QImage>
#include <QSvgRenderer>
#include <cmath>
#include <map>
#include <memory>

namespace tavrino::wheel {
namespace {

// The icons are drawn on a 24-unit grid with about 3 units of air around them; at 21 points
// their strokes span the 15 to 17 points of a 15-point symbol.
constexpr double iconPoints = 21;

QSvgRenderer* renderer(const std::string& name) {
    static std::map<std::string, std::unique_ptr<QSvgRenderer>> renderers;
    auto found = renderers.find(name);
    if (found == renderers.end()) {
        auto svg = std::make_unique<QSvgRenderer>(QString(":/icons/%1.svg").arg(name.c_str()));
        if (!svg->isValid()) svg.reset();
        found = renderers.emplace(name, std::move(svg)).first;
    }
    return found->second.get();
}

// The icon rendered once per pixel size as white with its own alpha; tinting it is cheap.
const QImage& mask(const std::string& name, QSize pixels) {
    static QHash<QString, QImage> masks;
    const QString key =
        QString("%1@%2x%3").arg(name.c_str()).arg(pixels.width()).arg(pixels.height());
    auto found = masks.find(key);
    if (found == masks.end()) {
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer(name)->render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
        found = masks.insert(key, image);
    }
    return *found;
}

}  // namespace

bool hasIcon(const std::string& name) {
    return !name.empty() && renderer(name) != nullptr;
}

QSizeF iconSize(const std::string& name) {
    if (!hasIcon(name)) return {0, 0};
    const QSizeF natural = renderer(name)->defaultSize();
    const double scale = iconPoints / std::max(natural.width(), natural.height());
    return {natural.width() * scale, natural.height() * scale};
}

void drawIcon(QPainter& painter, const std::string& name, const QRectF& rect, const QColor& color) {
    if (!hasIcon(name) || rect.isEmpty()) return;
    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QSize pixels(static_cast<int>(std::ceil(rect.width() * ratio)),
                       static_cast<int>(std::ceil(rect.height() * ratio)));
    QImage tinted = mask(name, pixels);
    {
        QPainter tint(&tinted);
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(tinted.rect(), color);
    }
    tinted.setDevicePixelRatio(ratio);
    painter.drawImage(rect, tinted);
}

}  // namespace tavrino::wheel
