#pragma once
// Documents of the Korean word processor (HWP, HWPX) and Word documents (DOCX) to the
// document targets, through the bundled tools pelgrin and wordbridge and the text converter
// textutil. Outputs land beside the source (or beside the naming reference) under
// never-overwriting names; all intermediate files live in a work folder that is removed on
// every path. The source is only read.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "convert/ToolResult.h"
#include "menu/Formats.h"

namespace tavrino {

// An HWP or HWPX file to `target`. `nameLike` names and places the output instead of the
// source (the Word routes pass the DOCX they started from). Throws ConvertError with the
// runner's messages, "한글 문서를 Word로 바꾸지 못함 — " + cause, "결과 파일이 비어 있음",
// "쪽을 그리지 못함", "이미지 저장 실패".
ToolResult convertHwp(const std::filesystem::path& path, DocTarget target,
                      const std::optional<std::filesystem::path>& nameLike = std::nullopt);

// A DOCX to hwp, hwpx, pdf, png, jpg or txt. Throws ConvertError "Word 문서는 " + title +
// "로 바꿀 수 없음" for any other target, and the route's messages.
ToolResult convertWord(const std::filesystem::path& path, DocTarget target);

// The trimmed plain text of a document: textutil for a DOCX, pelgrin's text export for
// every other kind. Throws ConvertError "글자를 찾지 못함" when nothing remains.
std::string documentText(const std::filesystem::path& path, FileKind kind);

}  // namespace tavrino
