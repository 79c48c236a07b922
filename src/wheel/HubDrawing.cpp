#include "wheel/HubDrawing.h"

#include <QPainterPath>
#include <algorithm>
#include <atomic>

#include "platform/Log.h"
#include "wheel/Badges.h"
#include "wheel/TextLines.h"
#include "wheel/geometry/HubMotion.h"

namespace tavrino::wheel {
namespace {

std::atomic<int> replacedTexts{0};

void drawDisc(PaintContext& c, Point center) {
    const QPointF q = c.yUp.toQt(center);
    c.painter.setPen(Qt::NoPen);
    c.painter.setBrush(QColor(0, 0, 0, 61));  // black at 0.24
    c.painter.drawEllipse(q, hubRadius, hubRadius);
    const double ring = hubRadius - c.hairline / 2;
    c.painter.setPen(QPen(QColor(255, 255, 255, 31), c.hairline));  // white at 0.12
    c.painter.setBrush(Qt::NoBrush);
    c.painter.drawEllipse(q, ring, ring);
}

std::vector<TextLine> textLines(const std::vector<HubLine>& lines, const WheelColors& colors) {
    std::vector<TextLine> result;
    for (const HubLine& line : lines)
        result.push_back(textLine(line, colors.primary, colors.secondary));
    return result;
}

void drawSpinner(PaintContext& c, Point center, double t) {
    const SpinnerArc arc = spinnerArc(t);
    const QPointF q = c.yUp.toQt(center);
    const QRectF box(q.x() - spinnerRadius, q.y() - spinnerRadius, 2 * spinnerRadius,
                     2 * spinnerRadius);
    c.painter.setPen(QPen(c.colors.accent, 2.5, Qt::SolidLine, Qt::RoundCap));
    c.painter.setBrush(Qt::NoBrush);
    // Clockwise from the start: a negative sweep in Qt's counterclockwise degrees.
    c.painter.drawArc(box, static_cast<int>(arc.startDeg * 16),
                      static_cast<int>(-arc.sweepDeg * 16));
}

void drawDots(PaintContext& c, Point center, double t) {
    c.painter.setPen(Qt::NoPen);
    for (int k = 0; k < 3; ++k) {
        c.painter.setBrush(withAlpha(c.colors.accent, dotAlpha(t, k)));
        c.painter.drawEllipse(c.yUp.rect(center.x - 13 + 10 * k, center.y + 10, 6, 6));
    }
}

void drawProgress(PaintContext& c, Point center, const HubWorking& work, const HubScene& scene) {
    const double t = scene.workingTime;
    if (t < progressDelay) return;
    if (scene.reduceMotion) {
        drawDots(c, center, t);
    } else {
        drawSpinner(c, center, t);
    }
    const auto lines = textLines(workingHubLines(work.done, work.total, work.hint, t), c.colors);
    drawLines(c.painter, c.yUp, center, lines,
              scene.reduceMotion ? std::optional<double>(center.y + 2) : std::nullopt);
}

// The badge centred horizontally, its centre `above` points above the hub's centre.
void drawBadgeAbove(PaintContext& c, Badge badge, Point center, double above) {
    const QSizeF size = badgeSize(badge);
    drawBadge(c.painter, badge,
              c.yUp.rect(center.x - size.width() / 2, center.y - size.height() / 2 + above,
                         size.width(), size.height()),
              c.colors);
}

void drawResultLines(PaintContext& c, Point center, Badge badge, const QStringList& parts) {
    const HubLineMeasure measured = measureHubLines(parts);
    HubPlacement placement;
    if (measured.place) {
        placement = *measured.place;
    } else {
        double tallest = 0;
        for (const QSizeF& size : measured.sizes)
            tallest = std::max(tallest, size.height());
        placement = HubText::layout(static_cast<int>(parts.size()), 0.85 * tallest);
    }
    drawBadgeAbove(c, badge, center, -placement.badgeY);
    for (int i = 0; i < parts.size(); ++i) {
        const QSizeF size = measured.sizes[static_cast<size_t>(i)];
        const double middle = center.y - placement.lineY[static_cast<size_t>(i)];
        drawLine(c.painter, c.yUp, {parts[i], hubLineFont(), c.colors.primary},
                 {center.x - size.width() / 2, middle - size.height() / 2});
    }
}

void drawResult(PaintContext& c, Point center, bool ok, const std::string& message) {
    const QString text = hubTextOrFallback(ok, QString::fromStdString(message));
    const Badge badge = ok ? Badge::done : Badge::failed;
    const QStringList parts = text.split('\n');
    if (parts.size() >= 2) {
        drawResultLines(c, center, badge, parts);
        return;
    }
    drawBadgeAbove(c, badge, center, 9);
    const double points = resultLinePoints(text.toStdString());
    drawLines(c.painter, c.yUp, center,
              {{text, wheelFont(points, FontWeight::medium), c.colors.primary}}, center.y - 17);
}

void drawCheck(PaintContext& c, Point center, const std::string& message) {
    drawBadgeAbove(c, Badge::check, center, 12);
    drawLines(
        c.painter, c.yUp, center,
        {{"변환 완료", wheelFont(11, FontWeight::medium), c.colors.primary},
         {QString::fromStdString(message), wheelFont(9.5, FontWeight::medium), c.colors.yellow}},
        center.y - 13);
}

}  // namespace

void drawHub(PaintContext& context, const HubScene& scene) {
    const Point center = wheel::center(context.bounds);
    context.painter.save();
    drawDisc(context, center);
    if (const auto* work = std::get_if<HubWorking>(&scene.state)) {
        drawProgress(context, center, *work, scene);
    } else if (const auto* done = std::get_if<HubDone>(&scene.state)) {
        drawResult(context, center, true, done->message);
    } else if (const auto* failed = std::get_if<HubFailed>(&scene.state)) {
        drawResult(context, center, false, failed->message);
    } else if (const auto* check = std::get_if<HubCheck>(&scene.state)) {
        drawCheck(context, center, check->message);
    } else {
        drawLines(context.painter, context.yUp, center, textLines(scene.idleLines, context.colors));
    }
    context.painter.restore();
}

const QFont& hubLineFont() {
    static const QFont font = wheelFont(9, FontWeight::medium);
    return font;
}

HubLineMeasure measureHubLines(const QStringList& parts) {
    HubLineMeasure result;
    std::vector<double> widths;
    double textHeight = 0;
    for (const QString& part : parts) {
        result.sizes.push_back(measure({part, hubLineFont(), Qt::white}));
        widths.push_back(result.sizes.back().width());
        textHeight = std::max(textHeight, result.sizes.back().height());
    }
    result.place = HubText::place(widths, textHeight);
    return result;
}

QString hubTextOrFallback(bool ok, const QString& text) {
    if (!text.trimmed().isEmpty()) return text;
    ++replacedTexts;
    log("허브 글자가 비어 있음 -> 대신 그림");
    return ok ? "완료" : "실패";
}

int emptyHubTexts() {
    return replacedTexts.load();
}

}  // namespace tavrino::wheel
