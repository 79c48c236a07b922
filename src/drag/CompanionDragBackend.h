#pragma once
// The drag watcher's view of a Wayland session, where only the compositor sees other
// programs' drags. A small companion inside the compositor reports each drag's begin, the
// pointer and its modifiers while the drag moves, and its end; this backend turns those
// reports into the answers the X11 backend gives, so the watcher cannot tell them apart.
//
// - The press is shown one look before the drag's count moves. On X11 the button goes down
//   before the source takes the selection, and the watcher takes the count it sees at the
//   start of a press as the baseline from which a drag is recognised.
// - The compositor does not hand out the dragged files, so readUriList refuses: the files
//   come from the drag's entry into the wheel, as for a source that answers only its target.
// - The pointer belongs to the compositor: nudgePointer does nothing, and the user's own
//   motion lets the compositor find the wheel under the pointer.
//
// Reports arrive on the GUI thread, between calls of the interface. A change of modifiers is
// passed on at once: waiting for the watcher's next tick would add up to a tick to the time
// between Shift and the wheel. Motion alone is not, as the watcher reads it when it looks.

#include <cstdint>

#include "drag/DragBackend.h"

namespace tavrino {

class CompanionDragBackend : public DragBackend {
  public:
    // Modifier bits as the companion sends them: the compositor's own modifier mask.
    static constexpr std::uint32_t shiftMask = 1u << 0;
    static constexpr std::uint32_t altMask = 1u << 3;

    // The companion reports in the compositor's pixels; the watcher works in the toolkit's
    // device-independent ones.
    explicit CompanionDragBackend(double pixelRatio = 1) : pixelRatio_(pixelRatio) {}

    bool usable() const override { return true; }
    PointerState pointer() override;
    std::uint64_t changeCount() override { return changes_; }
    void setOnChange(std::function<void()> handler) override { onChange_ = std::move(handler); }
    void setOnPointerReport(std::function<void()> handler) override {
        onReport_ = std::move(handler);
    }
    SelectionReply readUriList(std::chrono::milliseconds) override;
    void nudgePointer() override {}
    bool canNudgePointer() const override { return false; }

    void reportBegan();
    void reportMoved(int x, int y, std::uint32_t modifiers);
    void reportEnded();

  private:
    double pixelRatio_;
    bool dragging_ = false;
    bool pressShown_ = false;
    bool countPending_ = false;
    std::uint64_t changes_ = 0;
    PointerState last_;
    std::function<void()> onChange_;
    std::function<void()> onReport_;
};

}  // namespace tavrino
