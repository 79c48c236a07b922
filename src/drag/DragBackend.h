#pragma once
// What the drag watcher needs from the window system, kept behind an interface so that the
// watcher's decisions can be exercised without a display. The X11 implementation is
// X11DragBackend; every call is made on the GUI thread and must be cheap, because the
// watcher asks 60 times a second for the life of the program.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace tavrino {

struct PointerState {
    bool primaryDown = false;  // the first mouse button
    bool shift = false;
    bool alt = false;  // takes the place of the Option key
    // The pointer in the GUI toolkit's global coordinates (y down, device-independent).
    int x = 0;
    int y = 0;
};

// The answer of the drag source to a request for its file list.
struct SelectionReply {
    enum class Status {
        answered,  // text holds the source's text/uri-list
        refused,   // the source will not say (Qt sources answer only their drop target)
        noOwner,   // no drag is offering anything
        timedOut,  // no answer within the time allowed
    };
    Status status = Status::noOwner;
    std::string text;
};

class DragBackend {
  public:
    virtual ~DragBackend() = default;

    // False when the window system cannot show us other programs' pointers and drags (a
    // Wayland session without X11); the watcher then stays idle.
    virtual bool usable() const = 0;
    // Buttons, modifiers and position in one round trip.
    virtual PointerState pointer() = 0;
    // How many times a drag source has taken the drag selection. It moves once per drag.
    virtual std::uint64_t changeCount() = 0;
    // Called from the event loop, never from inside another call of this interface, when a
    // drag source takes the selection: it lets the watcher sleep while nothing happens.
    virtual void setOnChange(std::function<void()> handler) = 0;
    // Called from the event loop, like the change notice, when the buttons, the modifiers
    // or the pointer have just changed, by a backend that is told of them rather than
    // asking: the watcher then looks at once instead of at its next tick.
    virtual void setOnPointerReport(std::function<void()>) {}
    // Asks the drag source for its file list, waiting at most the given time.
    virtual SelectionReply readUriList(std::chrono::milliseconds timeout) = 0;
    // Moves the pointer by one pixel. A drag source looks for a new drop target only when
    // the pointer moves, so this makes it notice a window that has just appeared under it.
    virtual void nudgePointer() = 0;
    // False where nudgePointer cannot move the pointer (a compositor owns it): a source then
    // finds a window that has appeared under a resting pointer only once the user moves it.
    virtual bool canNudgePointer() const { return true; }
};

}  // namespace tavrino
