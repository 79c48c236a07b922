#pragma once
// The small frameless window that carries the wheel: always on top, never focused (the
// application the user drags from keeps the keyboard), shown without activation centred on
// the pointer, with a circular dark backdrop. It pops in with a damped spring and fades; one
// panel is made once and reused for every drag.
//
// Drops are received by the WheelView inside; the panel has no drop handling of its own.

#include <QTimer>
#include <QWidget>

#include "wheel/Clock.h"
#include "wheel/WheelView.h"

namespace tavrino::wheel {

class WheelPanel : public QWidget {
    Q_OBJECT
  public:
    static constexpr int defaultSize = 352;
    // The backdrop is inset by this on every side: a circle of 340 on the 352 panel.
    static constexpr int backdropInset = 6;

    explicit WheelPanel(int size = defaultSize);

    WheelView* wheel() const { return wheel_; }

    // Shows the panel centred on a point in Qt's global screen coordinates, pushed inside the
    // visible area of the screen under it, and replays the pop-in.
    void present(QPoint pointer);

    // Maps the panel centred on the point as present() does, but fully transparent and
    // without the pop-in, until present() reveals it or withdraw() takes it away. The drag
    // watcher uses this to become a drag's drop target before it knows what to show.
    void presentTransparent(QPoint pointer);
    // Lets the panel become the active window while a drag is over it, for a compositor
    // that hands a drag's data to an X11 window only while that window is active (KWin).
    // It still never takes focus when shown. Called before the first present.
    void acceptFocusFromDrags();
    // Hides the panel at once, without the fade, ready for the next present().
    void withdraw();

    // Fades the panel out after a delay, unless by then it is hidden, its hub is working (a
    // new run has begun; that run asks for its own dismissal when it ends) or it has been
    // presented again for a new drag.
    void dismiss(double afterSeconds);

    // The pop-in scale and the fade, as last applied.
    double contentScale() const { return scale_; }
    double alpha() const { return alpha_; }
    bool isAnimating() const { return frameTimer_.isActive(); }

    void setClock(Clock clock);

    // Advances the pop-in or fade to the clock's time; the frame timer calls it.
    void stepFrame();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    enum class Phase { still, presenting, fadingOut };

    void applyAlpha(double alpha);
    void startFadeOut();

    WheelView* wheel_;
    QTimer frameTimer_;
    Clock clock_;
    Phase phase_ = Phase::still;
    double phaseStart_ = 0;
    unsigned presentations_ = 0;
    double scale_ = 1;
    double alpha_ = 1;
    bool translucent_ = true;
};

// Whether a compositing manager runs on the X display (or the platform composites anyway):
// translucency needs one, without it the panel is cut to a circle instead.
bool compositorRunning();

}  // namespace tavrino::wheel
