#pragma once
// The result of a tool or of a document conversion: the file written beside the source (or
// the folder of page images) and an optional short note for the hub and the log line.

#include <filesystem>
#include <optional>
#include <string>

namespace tavrino {

struct ToolResult {
    std::filesystem::path output;
    std::optional<std::string> note;
    bool operator==(const ToolResult&) const = default;
};

}  // namespace tavrino
