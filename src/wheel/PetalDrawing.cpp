#include "wheel/PetalDrawing.h"

#include <QLinearGradient>
#include <QPainterPath>

#include "wheel/Icons.h"
#include "wheel/PetalGlow.h"
#include "wheel/TextLines.h"
#include "wheel/geometry/HoverEasing.h"

namespace tavrino::wheel {
namespace {

void drawDividers(PaintContext& c, int petals) {
    const std::vector<Segment> lines = dividerLines(c.bounds, petals);
    if (lines.empty()) return;
    QPainterPath path;
    for (const Segment& line : lines) {
        path.moveTo(c.yUp.toQt(line.from));
        path.lineTo(c.yUp.toQt(line.to));
    }
    c.painter.save();
    c.painter.setPen(QPen(c.colors.divider, c.hairline, Qt::SolidLine, Qt::FlatCap));
    c.painter.setBrush(Qt::NoBrush);
    c.painter.drawPath(path);
    c.painter.restore();
}

void drawHighlight(PaintContext& c, int petals, int index, double progress) {
    if (progress <= 0.001) return;
    const double e = eased(progress);
    const QPainterPath petal = c.yUp.path(petalShape(c.bounds, petals, index, 2 * e));
    // The gradient spans the core's box grown by the corner radius: lighter at the top.
    const QRectF box = c.yUp.path(petalCore(c.bounds, petals, index, 2 * e))
                           .boundingRect()
                           .adjusted(-corner, -corner, corner, corner);
    QLinearGradient gradient(box.center().x(), box.top(), box.center().x(), box.bottom());
    gradient.setColorAt(0, blended(c.colors.accent, 0.18, Qt::white));
    gradient.setColorAt(1, c.colors.accent);
    c.painter.save();
    c.painter.setOpacity(e);
    drawPetalGlow(c.painter, c.bounds, petals, index, 2 * e, c.colors.accent);
    c.painter.setPen(Qt::NoPen);
    c.painter.setBrush(gradient);
    c.painter.drawPath(petal);
    c.painter.restore();
}

void drawLabel(PaintContext& c, const WheelItem& item, int petals, int index, double progress) {
    const double e = eased(progress);
    const Point center = labelCenter(c.bounds, petals, index, e);
    const QColor iconColor = blended(c.colors.secondary, e, Qt::white);
    const QColor captionColor = withAlpha(iconColor, 0.8);
    const std::string symbolName = symbol(item);
    TextLine titleLine{QString::fromStdString(title(item)), wheelFont(12.5, FontWeight::semibold),
                       c.colors.primary};
    titleLine.letterSpacing = 0.4;
    const TextLine captionLine{QString::fromStdString(caption(item)),
                               wheelFont(9.5, FontWeight::regular), captionColor};
    const QSizeF icon = iconSize(symbolName);
    const QSizeF titleSize = measure(titleLine);
    const QSizeF captionSize = measure(captionLine);
    // Icon, 3 points, title, and the caption's box overlapping the title's by 3 points: one
    // block centred on the label centre.
    const double blockHeight = icon.height() + 3 + titleSize.height() + captionSize.height() - 3;
    const double iconBottom = center.y + blockHeight / 2 - icon.height();
    drawIcon(c.painter, symbolName,
             c.yUp.rect(center.x - icon.width() / 2, iconBottom, icon.width(), icon.height()),
             iconColor);
    const double titleBottom = iconBottom - titleSize.height() - 3;
    drawLine(c.painter, c.yUp, titleLine, {center.x - titleSize.width() / 2, titleBottom});
    drawLine(c.painter, c.yUp, captionLine,
             {center.x - captionSize.width() / 2, titleBottom - (captionSize.height() - 3)});
}

}  // namespace

void drawPetals(PaintContext& context, const std::vector<WheelItem>& slots,
                const std::vector<double>& progress) {
    const int petals = static_cast<int>(slots.size());
    drawDividers(context, petals);
    for (int i = 0; i < petals; ++i) {
        const double p = static_cast<size_t>(i) < progress.size() ? progress[i] : 0.0;
        drawHighlight(context, petals, i, p);
        drawLabel(context, slots[static_cast<size_t>(i)], petals, i, p);
    }
}

}  // namespace tavrino::wheel
