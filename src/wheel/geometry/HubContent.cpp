#include "wheel/geometry/HubContent.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "wheel/geometry/HubMotion.h"

namespace tavrino::wheel {
namespace {

constexpr TextStyle hoveredTitle{16, FontWeight::semibold};
constexpr TextStyle sizeLine{14, FontWeight::semibold, true};
constexpr TextStyle hubCaption{9.5, FontWeight::regular};
constexpr TextStyle counterLine{14, FontWeight::semibold, true};
constexpr TextStyle singleWorkingLine{12, FontWeight::semibold};
constexpr TextStyle hintLine{8.5, FontWeight::regular};
const std::string workingText = "변환 중…";

// The first `count` characters of a UTF-8 text.
std::string leadingCharacters(const std::string& text, size_t count) {
    size_t seen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool starts = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (starts && seen++ == count) return text.substr(0, i);
    }
    return text;
}

std::vector<std::string> nonEmptyLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace

size_t characterCount(const std::string& text) {
    size_t count = 0;
    for (char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

double resultLinePoints(const std::string& text) {
    return characterCount(text) <= 8 ? 11 : 9.5;
}

std::string byteCountText(std::int64_t bytes) {
    if (bytes < 1000) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    static constexpr std::array<const char*, 6> units{"KB", "MB", "GB", "TB", "PB", "EB"};
    double value = static_cast<double>(bytes);
    size_t unit = 0;
    value /= 1000;
    // Move up a unit when rounding would show 1000 of this one.
    while (unit + 1 < units.size() && std::round(value * 10) / 10 >= 1000) {
        value /= 1000;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
    return text;
}

std::string dragNameText(const DragInfo& info) {
    if (info.paths.size() != 1) return "파일 " + std::to_string(info.paths.size()) + "개";
    const std::string name = info.paths.front().filename().string();
    if (characterCount(name) >= 14) return leadingCharacters(name, 12) + "…";
    return name;
}

std::string dropHint(const WheelItem& item) {
    if (const auto* tool = std::get_if<ToolItem>(&item)) {
        return tool->tool == Tool::crop ? "놓으면 창이 열림" : "놓아서 적용";
    }
    return "놓아서 변환";
}

std::vector<HubLine> idleHubLines(const std::vector<WheelItem>& slots, std::optional<int> hovered,
                                  const std::optional<DragInfo>& info) {
    if (hovered && *hovered >= 0 && *hovered < static_cast<int>(slots.size())) {
        const WheelItem& item = slots[static_cast<size_t>(*hovered)];
        return {{title(item), hoveredTitle, TextRole::primary},
                {dropHint(item), hubCaption, TextRole::secondary}};
    }
    if (!info) {
        return {{"변환", {14, FontWeight::semibold}, TextRole::primary},
                {"놓으면 취소", hubCaption, TextRole::secondary}};
    }
    return {{byteCountText(info->totalBytes), sizeLine, TextRole::primary},
            {dragNameText(*info), hubCaption, TextRole::secondary}};
}

std::vector<HubLine> workingHubLines(int done, int total, const std::string& hint, double t) {
    if (t < progressDelay) return {};
    std::vector<HubLine> lines;
    if (total < 2) {
        lines.push_back({workingText, singleWorkingLine, TextRole::primary});
    } else {
        const int current = std::min(done + 1, total);
        lines.push_back({std::to_string(current) + "/" + std::to_string(total), counterLine,
                         TextRole::primary});
    }
    if (t < hintDelay) {
        if (total >= 2) lines.push_back({workingText, hubCaption, TextRole::secondary});
    } else {
        for (std::string& piece : nonEmptyLines(hint)) {
            lines.push_back({std::move(piece), hintLine, TextRole::secondary});
        }
    }
    return lines;
}

}  // namespace tavrino::wheel
