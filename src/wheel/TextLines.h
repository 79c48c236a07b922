#pragma once
// Centred text lines in the wheel: measuring and drawing one line, and stacking several
// top to bottom around the hub's centre.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

#include "wheel/YUp.h"
#include "wheel/geometry/HubContent.h"

namespace tavrino::wheel {

struct TextLine {
    QString text;
    QFont font;
    QColor color;
    bool tabularDigits = false;  // digits drawn in cells of the widest digit's width
    double letterSpacing = 0;    // extra points after every character
};

TextLine textLine(const HubLine& line, const QColor& primary, const QColor& secondary);

// The line's box: its advance and the font's full line height.
QSizeF measure(const TextLine& line);

// Draws a line whose box has its bottom-left corner at origin (y up).
void drawLine(QPainter& painter, const YUp& yUp, const TextLine& line, Point origin);

// Stacks lines downwards, each centred on center.x, with no spacing between them. The first
// line's box starts at startY (y up); with no startY the whole block is centred on center.
void drawLines(QPainter& painter, const YUp& yUp, Point center, const std::vector<TextLine>& lines,
               std::optional<double> startY = std::nullopt);

}  // namespace tavrino::wheel
