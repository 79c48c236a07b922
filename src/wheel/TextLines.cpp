#include "wheel/TextLines.h"

#include <QFontMetricsF>
#include <algorithm>

#include "wheel/WheelStyle.h"

namespace tavrino::wheel {
namespace {

double widestDigit(const QFontMetricsF& metrics) {
    double widest = 0;
    for (char digit = '0'; digit <= '9'; ++digit) {
        widest = std::max(widest, metrics.horizontalAdvance(QChar(digit)));
    }
    return widest;
}

bool isDigit(QChar c) {
    return c >= '0' && c <= '9';
}

// Tabular text is laid out by hand because Qt 6.4 cannot ask the font for its tabular
// figures: each digit is centred in a cell as wide as the widest digit.
double tabularWidth(const TextLine& line, const QFontMetricsF& metrics) {
    const double cell = widestDigit(metrics);
    double width = 0;
    for (QChar c : line.text)
        width += isDigit(c) ? cell : metrics.horizontalAdvance(c);
    return width;
}

void drawTabular(QPainter& painter, const TextLine& line, const QFontMetricsF& metrics,
                 QPointF baseline) {
    const double cell = widestDigit(metrics);
    double x = baseline.x();
    int runStart = 0;
    auto flushRun = [&](int end) {
        if (end <= runStart) return;
        const QString run = line.text.mid(runStart, end - runStart);
        painter.drawText(QPointF(x, baseline.y()), run);
        x += metrics.horizontalAdvance(run);
    };
    for (int i = 0; i < line.text.size(); ++i) {
        const QChar c = line.text[i];
        if (!isDigit(c)) continue;
        flushRun(i);
        const double advance = metrics.horizontalAdvance(c);
        painter.drawText(QPointF(x + (cell - advance) / 2, baseline.y()), QString(c));
        x += cell;
        runStart = i + 1;
    }
    flushRun(static_cast<int>(line.text.size()));
}

QFont spacedFont(const TextLine& line) {
    if (line.letterSpacing == 0) return line.font;
    QFont font = line.font;
    font.setLetterSpacing(QFont::AbsoluteSpacing, line.letterSpacing);
    return font;
}

}  // namespace

TextLine textLine(const HubLine& line, const QColor& primary, const QColor& secondary) {
    return {QString::fromStdString(line.text), wheelFont(line.style),
            line.role == TextRole::primary ? primary : secondary, line.style.tabularDigits};
}

QSizeF measure(const TextLine& line) {
    const QFontMetricsF metrics(spacedFont(line));
    const double width =
        line.tabularDigits ? tabularWidth(line, metrics) : metrics.horizontalAdvance(line.text);
    return {width, metrics.height()};
}

void drawLine(QPainter& painter, const YUp& yUp, const TextLine& line, Point origin) {
    const QFont font = spacedFont(line);
    const QFontMetricsF metrics(font);
    const QRectF box = yUp.rect(origin.x, origin.y, 0, metrics.height());
    const QPointF baseline(box.left(), box.top() + metrics.ascent());
    painter.setFont(font);
    painter.setPen(line.color);
    if (line.tabularDigits) {
        drawTabular(painter, line, metrics, baseline);
    } else {
        painter.drawText(baseline, line.text);
    }
}

void drawLines(QPainter& painter, const YUp& yUp, Point center, const std::vector<TextLine>& lines,
               std::optional<double> startY) {
    std::vector<QSizeF> sizes;
    double total = 0;
    for (const TextLine& line : lines) {
        sizes.push_back(measure(line));
        total += sizes.back().height();
    }
    double y = startY.value_or(center.y + total / 2);
    for (size_t i = 0; i < lines.size(); ++i) {
        y -= sizes[i].height();
        drawLine(painter, yUp, lines[i], {center.x - sizes[i].width() / 2, y});
    }
}

}  // namespace tavrino::wheel
