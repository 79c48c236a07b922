#pragma once
// The tools petal's work on one file: checks that the tool fits the file, picks the work by
// tool and file kind, writes exactly one new file beside the source and returns it with an
// optional note. The source is never changed.

#include <filesystem>

#include "convert/ToolResult.h"
#include "menu/FileFacts.h"
#include "menu/Tool.h"
#include "tools/Refusal.h"

namespace tavrino {

enum class ToolCheck {
    applicability,  // refuse a file the tool does not apply to (what run control asks for)
    none,           // go straight to the work
};

// Throws ConvertError:
//   title + 은/는 + " 이 파일(." + extension + ")에 쓸 수 없음"      the tool does not apply
//   "자르기는 따로 처리", "PDF 합치기는 따로 처리"                   crop and merge are not
//                                                                  per-file work
//   "아직 지원하지 않음: " + what                                    work this build lacks
// and the errors of the tool's own work (PixelTools.h, MetadataStrip.h).
ToolResult applyTool(Tool tool, const FileFacts& source,
                     ToolCheck check = ToolCheck::applicability);
ToolResult applyTool(Tool tool, const std::filesystem::path& source,
                     ToolCheck check = ToolCheck::applicability);

}  // namespace tavrino
