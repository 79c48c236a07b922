#pragma once
// What is being dragged: the files, in the order the drag source listed them, and a few facts
// taken once when a wheel is about to open. Reading it from the X11 drag selection lives
// with the drag watcher; the wheel and the preview only consume the value.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "menu/Formats.h"

namespace tavrino {

struct DragInfo {
    std::vector<std::filesystem::path> paths;  // never empty
    std::int64_t totalBytes = 0;               // unreadable sizes count 0
    std::optional<Fmt> sourceFmt;              // the one format all files share, if any
    std::optional<std::string> hwpExt;         // "hwp", "hwpx", "" for both, none otherwise
    bool allDocx = false;
    bool operator==(const DragInfo&) const = default;
};

}  // namespace tavrino
