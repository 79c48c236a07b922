#pragma once
// Tavrino's drag reporter inside KWin. Only the compositor sees a drag on Wayland, so this
// reports each drag's begin, the pointer and its modifiers while it moves, and its end, as
// signals on the user's own session bus, under the same name, path and interface as the
// GNOME Shell reporter. It accepts no commands and keeps nothing beyond the drag under way.
//
// What KWin 5.27 offers: a script can call D-Bus but sees only the pointer position; an
// effect sees the pointer, its buttons and the modifiers on every pointer motion, but the
// effect interface has no drag signals. The drag's begin and end come from the Wayland seat
// that KWin's server keeps, through Qt's meta-object system, which needs no private header.
// The same way reaches KWin's input redirection, which announces every key as it happens:
// with its modifier state (exported by KWin's library) a Shift is reported on the key itself
// rather than with the hand's next motion.
//
// Beyond reporting it does one thing, as the GNOME reporter does: when a window of Tavrino's
// appears during a drag, it moves the pointer a pixel there and back, because KWin looks for
// a new drop target only when the pointer moves, and a resting hand would never reach the
// wheel. Where KWin's library lacks the functions, the reporter works as before without them.

#include <kwineffects.h>

#include <QDBusConnection>
#include <QPoint>
#include <QPointer>

namespace tavrino::kwin {

class DragReporterEffect : public KWin::Effect {
    Q_OBJECT
  public:
    DragReporterEffect();
    ~DragReporterEffect() override;

    // Never part of painting: the reporter draws nothing.
    bool isActive() const override { return false; }
    // Whether this KWin has a seat whose drags can be followed.
    static bool supported();

  private Q_SLOTS:
    void dragStarted();
    void dragEnded();
    void keyChanged();

  private:
    void pointerChanged(const QPoint& pos, Qt::KeyboardModifiers modifiers);
    void windowAppeared(KWin::EffectWindow* window);
    void nudge();
    void emitSignal(const char* name, const QList<QVariant>& arguments = {});

    QDBusConnection bus_;
    bool registered_ = false;
    bool dragging_ = false;
    QPointer<QObject> input_;
    QPoint lastPos_;
    Qt::KeyboardModifiers lastModifiers_;
};

}  // namespace tavrino::kwin
