#pragma once
// The page loop of PDF pages to images, apart from any image library: every page rendered
// at scale 2 and handed to a writer, the pages collected in a new folder beside the source.

#include <filesystem>
#include <functional>

#include "menu/Formats.h"
#include "platform/PdfDocument.h"
#include "platform/PixelBuffer.h"

namespace tavrino {

// Writes one rendered page to exactly `file` (inside the pending folder); false when the
// pixels cannot become a picture (the page counts as not drawn). Write failures throw.
using PageWriter = std::function<bool(const PixelBuffer& page, const std::filesystem::path& file)>;

// Renders every page at 144 pixels per inch and has `write` store it as "stem 1.<fmt>",
// "stem 2.<fmt>", ... in a new folder "stem 이미지" (or "stem 이미지 N") beside `path`;
// returns the folder. When any page cannot be rendered the folder is removed and
// ConvertError "PDF 쪽 그리기 실패(written/total)" is thrown; a failing write removes it as
// well and passes its error on, so a failed conversion never leaves a partial folder.
std::filesystem::path writePDFPages(const std::filesystem::path& path, const PdfDocument& document,
                                    Fmt fmt, const PageWriter& write);

}  // namespace tavrino
