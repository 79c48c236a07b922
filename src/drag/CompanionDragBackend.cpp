#include "drag/CompanionDragBackend.h"

#include <cmath>

namespace tavrino {

PointerState CompanionDragBackend::pointer() {
    if (dragging_) {
        if (pressShown_ && countPending_) {
            ++changes_;
            countPending_ = false;
        }
        pressShown_ = true;
    }
    PointerState state = last_;
    state.primaryDown = dragging_;
    return state;
}

SelectionReply CompanionDragBackend::readUriList(std::chrono::milliseconds) {
    return {SelectionReply::Status::refused, {}};
}

void CompanionDragBackend::reportBegan() {
    // A begin without an end (the companion was reloaded mid-drag) starts a new drag.
    dragging_ = true;
    pressShown_ = false;
    countPending_ = true;
    if (onChange_) onChange_();
}

void CompanionDragBackend::reportMoved(int x, int y, std::uint32_t modifiers) {
    last_.x = static_cast<int>(std::lround(x / pixelRatio_));
    last_.y = static_cast<int>(std::lround(y / pixelRatio_));
    const bool shift = (modifiers & shiftMask) != 0;
    const bool alt = (modifiers & altMask) != 0;
    const bool changed = shift != last_.shift || alt != last_.alt;
    last_.shift = shift;
    last_.alt = alt;
    if (changed && dragging_ && onReport_) onReport_();
}

void CompanionDragBackend::reportEnded() {
    dragging_ = false;
    pressShown_ = false;
    countPending_ = false;
    last_.shift = false;
    last_.alt = false;
}

}  // namespace tavrino
