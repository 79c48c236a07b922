#include "menu/Tool.h"

namespace tavrino {
namespace {

struct ToolLabels {
    std::string_view raw, title, caption, symbol;
};

constexpr std::array<ToolLabels, 8> labels{{
    {"compress", "압축", "용량 줄이기", "arrow.down.right.and.arrow.up.left"},
    {"resize", "크기 50%", "가로세로 절반", "arrow.up.left.and.down.right.magnifyingglass"},
    {"crop", "자르기", "영역 고르기", "crop"},
    {"rotate", "회전", "시계 방향 90°", "rotate.right"},
    {"removeBackground", "배경 제거", "투명 PNG", "person.crop.rectangle"},
    {"stripMetadata", "정보 삭제", "위치·작성자 등", "location.slash"},
    {"mergePDF", "PDF 합치기", "여러 장을 하나로", "doc.on.doc"},
    {"extractText", "글자 추출", "복사 + TXT", "text.viewfinder"},
}};

const ToolLabels& labelsOf(Tool tool) {
    return labels[static_cast<size_t>(tool)];
}

}  // namespace

std::string_view rawValue(Tool tool) {
    return labelsOf(tool).raw;
}
std::string_view title(Tool tool) {
    return labelsOf(tool).title;
}
std::string_view caption(Tool tool) {
    return labelsOf(tool).caption;
}
std::string_view symbol(Tool tool) {
    return labelsOf(tool).symbol;
}

std::optional<Tool> toolFromRawValue(std::string_view raw) {
    for (Tool tool : allTools) {
        if (rawValue(tool) == raw) return tool;
    }
    return std::nullopt;
}

}  // namespace tavrino
