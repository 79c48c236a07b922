#pragma once
// The facts about a set of dragged files that the wheel and the watcher's log line need,
// derived once from the paths when a wheel is about to open.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "menu/DragInfo.h"

namespace tavrino {

// No value for an empty list: a drag without files has nothing to summarise. Sizes that
// cannot be read (folders, vanished or unreadable files) count 0; nothing throws.
std::optional<DragInfo> summarizeDrag(std::vector<std::filesystem::path> files);

// What the skip line says about the drag: each file's extension with its dot, "폴더" for a
// folder, joined by ","; "파일 정보 못 읽음" when the files could not be read at all.
std::string skipDetails(const std::optional<DragInfo>& info);

}  // namespace tavrino
