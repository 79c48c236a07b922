#include "menu/WheelItem.h"

#include <algorithm>
#include <cctype>

namespace tavrino {
namespace {

struct Labels {
    std::string title, caption, symbol;
};

std::string upper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

Labels labels(Fmt fmt) {
    const std::string name = upper(rawValue(fmt));
    switch (fmt) {
        case Fmt::png:
            return {name, "무손실", "photo"};
        case Fmt::jpg:
            return {name, "작은 용량", "arrow.down.right.and.arrow.up.left"};
        case Fmt::heic:
            return {name, "고효율", "iphone"};
        case Fmt::tiff:
            return {name, "인쇄용", "printer"};
        case Fmt::pdf:
            return {name, "문서", "doc.richtext"};
        case Fmt::bmp:
            return {name, "호환", "rectangle.on.rectangle"};
    }
    return {name, "", "doc"};
}

Labels labels(DocTarget target) {
    const std::string name = title(target);
    switch (target) {
        case DocTarget::pdf:
            return {name, "제출·인쇄용", "doc.richtext"};
        case DocTarget::docx:
            return {name, "Word 문서", "w.square"};
        case DocTarget::png:
            return {name, "쪽마다 이미지", "photo"};
        case DocTarget::jpg:
            return {name, "쪽마다 사진", "photo.on.rectangle"};
        case DocTarget::hwpx:
            return {name, "개방형 표준", "doc.badge.gearshape"};
        case DocTarget::hwp:
            return {name, "한글 기본", "doc.text"};
        case DocTarget::txt:
            return {name, "글자만", "text.alignleft"};
    }
    return {name, "", "doc"};
}

Labels labels(const CommonItem& item) {
    if (auto target = docTargetFromRawValue(item.extension)) return labels(*target);
    if (auto fmt = fmtFromRawValue(item.extension)) return labels(*fmt);
    return {upper(item.extension), "", "doc"};
}

Labels labels(const WheelItem& item) {
    struct Visitor {
        Labels operator()(const ConvertItem& i) const { return labels(i.fmt); }
        Labels operator()(const ToolItem& i) const {
            return {std::string(title(i.tool)), std::string(caption(i.tool)),
                    std::string(symbol(i.tool))};
        }
        Labels operator()(const DocumentItem& i) const { return labels(i.target); }
        Labels operator()(const FromWordItem& i) const { return labels(i.target); }
        Labels operator()(const CommonItem& i) const { return labels(i); }
    };
    return std::visit(Visitor{}, item);
}

std::optional<WheelItem> makeItem(std::string_view kind, std::string_view payload) {
    if (kind == "convert") {
        if (auto fmt = fmtFromRawValue(payload)) return ConvertItem{*fmt};
    } else if (kind == "tool") {
        if (auto tool = toolFromRawValue(payload)) return ToolItem{*tool};
    } else if (kind == "document") {
        if (auto target = docTargetFromRawValue(payload)) return DocumentItem{*target};
    } else if (kind == "fromWord") {
        if (auto target = docTargetFromRawValue(payload)) return FromWordItem{*target};
    } else if (kind == "common") {
        if (!payload.empty()) return CommonItem{std::string(payload)};
    }
    return std::nullopt;
}

}  // namespace

std::string title(const WheelItem& item) {
    return labels(item).title;
}
std::string caption(const WheelItem& item) {
    return labels(item).caption;
}
std::string symbol(const WheelItem& item) {
    return labels(item).symbol;
}

std::optional<std::string> targetExtension(const WheelItem& item) {
    struct Visitor {
        std::optional<std::string> operator()(const ConvertItem& i) const {
            return std::string(rawValue(i.fmt));
        }
        std::optional<std::string> operator()(const ToolItem&) const { return std::nullopt; }
        std::optional<std::string> operator()(const DocumentItem& i) const {
            return std::string(rawValue(i.target));
        }
        std::optional<std::string> operator()(const FromWordItem& i) const {
            return std::string(rawValue(i.target));
        }
        std::optional<std::string> operator()(const CommonItem& i) const { return i.extension; }
    };
    return std::visit(Visitor{}, item);
}

std::string spelling(const WheelItem& item) {
    struct Visitor {
        std::string operator()(const ConvertItem& i) const {
            return "convert(" + std::string(rawValue(i.fmt)) + ")";
        }
        std::string operator()(const ToolItem& i) const {
            return "tool(" + std::string(rawValue(i.tool)) + ")";
        }
        std::string operator()(const DocumentItem& i) const {
            return "document(" + std::string(rawValue(i.target)) + ")";
        }
        std::string operator()(const FromWordItem& i) const {
            return "fromWord(" + std::string(rawValue(i.target)) + ")";
        }
        std::string operator()(const CommonItem& i) const { return "common(" + i.extension + ")"; }
    };
    return std::visit(Visitor{}, item);
}

std::optional<WheelItem> parseWheelItem(std::string_view text) {
    const size_t open = text.find('(');
    if (open == std::string_view::npos || text.size() < open + 2 || text.back() != ')') {
        return std::nullopt;
    }
    const std::string_view payload = text.substr(open + 1, text.size() - open - 2);
    if (payload.find_first_of("()") != std::string_view::npos) return std::nullopt;
    return makeItem(text.substr(0, open), payload);
}

}  // namespace tavrino
