#pragma once
// The words the hub shows, decided without any drawing: for the idle hub (the drag, the
// hovered petal or the cancel hint) and for the working hub at a given working time. The view
// turns each line's style into a font and its role into a colour.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "menu/DragInfo.h"
#include "menu/WheelItem.h"

namespace tavrino::wheel {

enum class FontWeight { regular, medium, semibold };
enum class TextRole { primary, secondary };

struct TextStyle {
    double points = 12;
    FontWeight weight = FontWeight::regular;
    bool tabularDigits = false;  // every digit as wide as the widest, for numbers that change
    bool operator==(const TextStyle&) const = default;
};

struct HubLine {
    std::string text;
    TextStyle style;
    TextRole role = TextRole::primary;
    bool operator==(const HubLine&) const = default;
};

// A short file size in decimal units with one decimal: "840 bytes", "84.2 KB", "4.2 MB".
std::string byteCountText(std::int64_t bytes);

// The dragged file's name, or "파일 N개" for several; names of 14 characters or more are cut
// to 12 followed by "…".
std::string dragNameText(const DragInfo& info);

// What a drop on this item will do: "놓으면 창이 열림" for crop, "놓아서 적용" for other tools,
// "놓아서 변환" for everything else.
std::string dropHint(const WheelItem& item);

std::vector<HubLine> idleHubLines(const std::vector<WheelItem>& slots, std::optional<int> hovered,
                                  const std::optional<DragInfo>& info);

// The text of the working hub at working time t (the motion above it is drawn separately);
// nothing before the progress delay.
std::vector<HubLine> workingHubLines(int done, int total, const std::string& hint, double t);

// The size of a one-line result: 11 points for up to 8 characters, 9.5 for longer ones.
double resultLinePoints(const std::string& text);

// The number of characters (code points) of a UTF-8 text.
size_t characterCount(const std::string& text);

}  // namespace tavrino::wheel
