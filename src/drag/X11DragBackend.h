#pragma once
// The drag watcher's view of an X11 display, on a connection of its own so that nothing it
// does can disturb the GUI toolkit's event handling.
//
// - Buttons, modifiers and position come from one QueryPointer on the root window; it
//   reports the true state even while the dragging program holds its pointer grab.
// - A drag source takes ownership of the XdndSelection selection when a drag starts. XFixes
//   reports every change of owner; changes to a real owner are counted (GTK also hands the
//   selection back to None when a drag ends, which is not a new drag).
// - The file list is asked for by converting XdndSelection to text/uri-list from a hidden
//   window of ours, waiting a bounded time for the answer.

#include <QObject>
#include <QSocketNotifier>
#include <memory>

#include "drag/DragBackend.h"
#include "platform/Xcb.h"

namespace tavrino {

class X11DragBackend : public QObject, public DragBackend {
    Q_OBJECT
  public:
    // Connects to $DISPLAY. A failed connection leaves the backend unusable, never throws.
    X11DragBackend();
    ~X11DragBackend() override;

    bool usable() const override;
    PointerState pointer() override;
    std::uint64_t changeCount() override;
    SelectionReply readUriList(std::chrono::milliseconds timeout) override;
    void nudgePointer() override;
    void setOnChange(std::function<void()> handler) override { onChange_ = std::move(handler); }

  private:
    bool setUp();
    xcb_atom_t atom(const char* name);
    // Both return whether the drag selection got a new owner.
    bool drainEvents();
    bool handleEvent(const xcb_generic_event_t& event);
    XcbReply<xcb_generic_event_t> waitForEvent(std::chrono::steady_clock::time_point deadline);
    SelectionReply takeProperty(std::chrono::steady_clock::time_point deadline);
    bool readIncrementally(std::string& text, std::chrono::steady_clock::time_point deadline);

    XcbConnection connection_;
    xcb_window_t root_ = 0;
    xcb_window_t window_ = 0;  // hidden, never mapped: the requester of conversions
    xcb_atom_t dragSelection_ = 0;
    xcb_atom_t uriList_ = 0;
    xcb_atom_t property_ = 0;
    xcb_atom_t incr_ = 0;
    std::uint8_t xfixesFirstEvent_ = 0;
    std::uint64_t changes_ = 0;
    int lastX_ = 0;
    double pixelRatio_ = 1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> onChange_;
};

}  // namespace tavrino
