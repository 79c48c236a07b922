#pragma once
// The crop window's canvas: the picture, the crop rectangle over it with the outside dimmed,
// thirds lines, the border and the handles, and the mouse that moves and resizes it. The
// rules live in CropGeometry; this widget only turns Qt events into its calls and draws it.
//
// The picture is drawn from a copy the size it has on screen, made once when the window
// opens, so that a repaint during a drag never rescales a large photo.

#include <QColor>
#include <QImage>
#include <QWidget>
#include <functional>
#include <optional>

#include "tools/crop/CropGeometry.h"

namespace tavrino::app {

class CropCanvas : public QWidget {
    Q_OBJECT
  public:
    // `picture` is the screen-sized copy of an image of `imageSize` pixels.
    CropCanvas(QImage picture, crop::Size imageSize, QWidget* parent = nullptr);

    crop::CropGeometry& geometry() { return geometry_; }
    const crop::CropGeometry& geometry() const { return geometry_; }
    crop::Size bounds() const;
    // Where the picture and the crop are drawn, in widget coordinates.
    crop::Rect imageRect() const;
    crop::Rect cropInView() const;

    // Called after every change of the crop.
    std::function<void()> onChange;

    void setAspect(std::optional<double> aspect);
    void reset();

    // The accent of the border and the handles (the desktop's highlight colour).
    void setAccent(const QColor& accent) { accent_ = accent; }

    static QColor background() { return QColor::fromRgbF(0.08f, 0.08f, 0.08f); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void changed();
    void updateCursor(const QPointF& at);

    QImage picture_;
    crop::CropGeometry geometry_;
    QColor accent_;
};

}  // namespace tavrino::app
