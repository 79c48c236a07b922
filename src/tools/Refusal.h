#pragma once
// The tools' refusals, apart from the tools themselves: run control and the command line
// refuse files without loading the media engine.

#include <filesystem>

#include "menu/Tool.h"

namespace tavrino {

// Throws ConvertError title + 은/는 + " 이 파일(." + extension as written + ")에 쓸 수 없음".
[[noreturn]] void refuseFile(Tool tool, const std::filesystem::path& path);

// Crop (its window) and merge (one job over every file) are not per-file work: throws
// ConvertError title + 은/는 + " 따로 처리".
[[noreturn]] void refuseAsPerFileWork(Tool tool);

}  // namespace tavrino
