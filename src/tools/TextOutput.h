#pragma once
// The end of every text extraction, whatever read the text (recognition of an image or PDF,
// or a document's own text): the text file beside the source, the clipboard, the note.

#include <filesystem>
#include <string>

#include "convert/ToolResult.h"

namespace tavrino {

// Writes `text` (UTF-8, already trimmed) as "stem 글자.txt" beside `source` through a hidden
// sibling, then hands it to the installed clipboard. The note is N + "자 · 복사됨", or N +
// "자 · 복사하지 않음" when this program has no clipboard. Throws ConvertError "글자를 찾지
// 못함" for empty text (nothing is written), and writeResultFile's errors, in which case
// the clipboard is not touched.
ToolResult deliverText(const std::filesystem::path& source, const std::string& text);

}  // namespace tavrino
