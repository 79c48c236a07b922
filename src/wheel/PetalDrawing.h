#pragma once
// The ring: divider lines between the petals, the hover highlight of each petal and its
// label (icon, title, caption).

#include <vector>

#include "menu/WheelItem.h"
#include "wheel/PaintContext.h"

namespace tavrino::wheel {

// progress holds each petal's hover amount; a missing entry counts as 0.
void drawPetals(PaintContext& context, const std::vector<WheelItem>& slots,
                const std::vector<double>& progress);

}  // namespace tavrino::wheel
