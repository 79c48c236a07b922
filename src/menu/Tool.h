#pragma once
// The eight tools of the tools wheel, in petal order, with their labels.

#include <array>
#include <optional>
#include <string_view>

namespace tavrino {

enum class Tool {
    compress,
    resize,
    crop,
    rotate,
    removeBackground,
    stripMetadata,
    mergePDF,
    extractText,
};
inline constexpr std::array<Tool, 8> allTools{
    Tool::compress,         Tool::resize,        Tool::crop,     Tool::rotate,
    Tool::removeBackground, Tool::stripMetadata, Tool::mergePDF, Tool::extractText};

// The case name, which is also the spelling on the command line ("removeBackground").
std::string_view rawValue(Tool tool);
std::optional<Tool> toolFromRawValue(std::string_view raw);

std::string_view title(Tool tool);
std::string_view caption(Tool tool);
std::string_view symbol(Tool tool);

}  // namespace tavrino
