#pragma once
// One petal of the wheel. A petal converts to an image/PDF format, applies a tool, converts
// an HWP/HWPX document, converts a Word document, or names a target shared by a mixed set
// of files (each file then gets the specific item that fits its kind).

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "menu/Formats.h"
#include "menu/Tool.h"

namespace tavrino {

struct ConvertItem {
    Fmt fmt;
    bool operator==(const ConvertItem&) const = default;
};
struct ToolItem {
    Tool tool;
    bool operator==(const ToolItem&) const = default;
};
struct DocumentItem {
    DocTarget target;
    bool operator==(const DocumentItem&) const = default;
};
struct FromWordItem {
    DocTarget target;
    bool operator==(const FromWordItem&) const = default;
};
struct CommonItem {
    std::string extension;
    bool operator==(const CommonItem&) const = default;
};

using WheelItem = std::variant<ConvertItem, ToolItem, DocumentItem, FromWordItem, CommonItem>;

std::string title(const WheelItem& item);
std::string caption(const WheelItem& item);
std::string symbol(const WheelItem& item);

// The extension an item produces; tools keep or choose their own and have none.
std::optional<std::string> targetExtension(const WheelItem& item);

// The public spelling of an item on the command line: case(payload), e.g. "convert(jpg)",
// "tool(removeBackground)", "fromWord(hwpx)", "common(pdf)".
std::string spelling(const WheelItem& item);
// The inverse of spelling(); no value for anything malformed or an unknown payload.
std::optional<WheelItem> parseWheelItem(std::string_view text);

}  // namespace tavrino
