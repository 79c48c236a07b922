#pragma once
// The petals' icons: our own monochrome SVG set (resources/Resources/icons, compiled in),
// keyed by the items' symbol names and drawn in one colour. Parts of an icon drawn at lower
// opacity keep that opacity, which gives the secondary shading. An unknown name draws
// nothing and measures 0 x 0.

#include <QColor>
#include <QPainter>
#include <QRectF>
#include <QSizeF>
#include <string>

namespace tavrino::wheel {

// The icon's natural size in points for the petals' 15-point symbols.
QSizeF iconSize(const std::string& name);
bool hasIcon(const std::string& name);

void drawIcon(QPainter& painter, const std::string& name, const QRectF& rect, const QColor& color);

}  // namespace tavrino::wheel
