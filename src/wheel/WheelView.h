#pragma once
// The radial wheel: a ring of petals, one per menu item, around the hub. It paints itself
// from its state alone, eases the hover highlight, animates the working hub and is the drop
// target for the dragged files. Everything runs on the GUI thread.
//
// Geometry is computed in y-up points (see wheel/geometry); Qt positions are converted by
// YUp at the edge.

#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "menu/DragInfo.h"
#include "menu/WheelItem.h"
#include "wheel/Clock.h"
#include "wheel/geometry/HubState.h"
#include "wheel/geometry/WheelGeometry.h"

namespace tavrino::wheel {

class WheelView : public QWidget {
    Q_OBJECT
  public:
    using DropHandler = std::function<void(const WheelItem&, std::vector<std::filesystem::path>)>;

    explicit WheelView(QWidget* parent = nullptr);
    ~WheelView() override;

    // Loads the petals for the dragged files (the tools wheel when tools is set) and resets
    // hover and hub. Also re-reads the desktop's reduced-motion setting.
    void configure(const std::optional<DragInfo>& info, bool tools);

    const std::vector<WheelItem>& slots() const { return slots_; }
    const std::optional<DragInfo>& info() const { return info_; }

    // Working starts the 60 Hz redraw timer (keeping the first start time while it stays
    // working); every other state stops it.
    void setHubState(HubState state);
    const HubState& hubState() const { return hubState_; }

    // Changing the hovered petal starts the hover easing.
    void setHovered(std::optional<int> index);
    std::optional<int> hovered() const { return hovered_; }
    const std::vector<double>& progress() const { return progress_; }
    // Sets hover amounts directly, e.g. for a still picture of a raised petal.
    void setProgress(std::vector<double> progress);

    void startAnimating();
    void stepAnimation();
    void stopAnimation() { animTimer_.stop(); }
    bool isAnimating() const { return animTimer_.isActive(); }
    void startSpinner();
    void stopSpinner();
    bool isSpinning() const { return spinTimer_.isActive(); }

    // The working time: fixedElapsed when set, else the clock since the run began.
    double workingTime() const;
    void setFixedElapsed(std::optional<double> seconds);
    void setForceReduceMotion(std::optional<bool> reduce);
    bool reducesMotion() const;
    void setClock(Clock clock);

    // The panel's pop-in scales the whole drawing about the centre.
    void setContentScale(double scale);

    void setOnDrop(DropHandler handler) { onDrop_ = std::move(handler); }

    // The drop rules, apart from Qt's events so that they can be exercised directly.
    // A drag over the view hovers the petal under it and is accepted there while the hub is
    // idle; a drop on a petal hands its local files to the drop handler.
    bool dragMovedTo(QPointF position);
    void dragLeft();
    bool dropAt(QPointF position, const QList<QUrl>& urls);

    std::optional<int> slotAt(QPointF position) const;

    // Paints the whole wheel for the view's current size; paintEvent calls this.
    void paint(QPainter& painter);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    Bounds bounds() const;

    std::vector<WheelItem> slots_;
    std::optional<DragInfo> info_;
    HubState hubState_;
    double workStart_ = 0;
    QTimer spinTimer_;
    std::optional<double> fixedElapsed_;
    std::optional<bool> forceReduceMotion_;
    bool desktopReducesMotion_ = false;
    std::optional<int> hovered_;
    DropHandler onDrop_;
    std::vector<double> progress_;
    QTimer animTimer_;
    double lastTick_ = 0;
    double contentScale_ = 1;
    Clock clock_;
};

}  // namespace tavrino::wheel
