#include "menu/HubText.h"

#include <cmath>

namespace tavrino {

FinishMessage finishMessage(int total, int ok, int skipped, const std::optional<std::string>& note,
                            const std::string& title) {
    const int failed = total - ok - skipped;
    if (failed >= 1) {
        if (ok + skipped == 0) return {false, "실패"};
        std::string text;
        if (ok >= 1) text += std::to_string(ok) + "개 완료\n";
        if (skipped >= 1) text += std::to_string(skipped) + "개 건너뜀\n";
        text += std::to_string(failed) + "개 실패";
        return {false, text};
    }
    if (skipped >= 1) return {true, std::to_string(skipped) + "개는 이미 " + title};
    if (total == 1) return {true, note.value_or("완료")};
    return {true, std::to_string(ok) + "개 완료"};
}

namespace HubText {

HubPlacement layout(int lines, double lineH) {
    if (lines <= 1) return {-10, {18}};
    const double top = -(lineH * lines + 27) / 2;
    HubPlacement placement{top + 12, {}};
    for (int i = 0; i < lines; ++i)
        placement.lineY.push_back(top + 27 + lineH * (i + 0.5));
    return placement;
}

std::optional<HubPlacement> place(const std::vector<double>& widths, double textH) {
    const int lines = static_cast<int>(widths.size());
    const double limit = textRadius * textRadius;
    for (double factor : {1.0, 0.92, 0.85}) {
        HubPlacement placement = layout(lines, textH * factor);
        bool fits = std::abs(placement.badgeY) + 12 <= textRadius;
        for (size_t i = 0; fits && i < placement.lineY.size() && i < widths.size(); ++i) {
            const double halfWidth = widths[i] / 2;
            const double farEdge = textH / 2 + std::abs(placement.lineY[i]);
            fits = halfWidth * halfWidth + farEdge * farEdge <= limit;
        }
        if (fits) return placement;
    }
    return std::nullopt;
}

}  // namespace HubText
}  // namespace tavrino
