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

#include <kwineffects.h>

#include <QDBusConnection>
#include <QPoint>

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

  private:
    void pointerChanged(const QPoint& pos, Qt::KeyboardModifiers modifiers);
    void emitSignal(const char* name, const QList<QVariant>& arguments = {});

    QDBusConnection bus_;
    bool registered_ = false;
    bool dragging_ = false;
    QPoint lastPos_;
    Qt::KeyboardModifiers lastModifiers_;
};

}  // namespace tavrino::kwin
