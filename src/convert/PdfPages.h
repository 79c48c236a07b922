#pragma once
// PDF pages to images: one image per page, collected in a new folder beside the source.

#include <filesystem>
#include <optional>

#include "convert/Image.h"
#include "menu/Formats.h"
#include "platform/PdfDocument.h"

namespace tavrino {

// Page `index` (from 0) rendered at `scale` pixels per point onto opaque white, the page
// box's corner at the bitmap's corner, truncate(scale × size) pixels. No value when the page
// cannot be read or rendered.
std::optional<Image> renderPDFPage(const PdfDocument& document, int index, double scale);

// Writes every page at scale 2 (144 pixels per inch) as `fmt` (lossy formats at `quality`)
// into a new folder "stem 이미지" (or "stem 이미지 N") named "stem 1.png", "stem 2.png", ...
// and returns the folder; `path` names and places it. Called for documents of two or more pages and
// a format other than PDF. When any page cannot be rendered the folder is removed and ConvertError
// "PDF 쪽 그리기 실패(written/total)" is thrown; a failing write removes it as well and
// passes writeImage's error on, so a failed conversion never leaves a partial folder.
std::filesystem::path convertPDFPages(const std::filesystem::path& path,
                                      const PdfDocument& document, Fmt fmt, double quality = 0.9);

}  // namespace tavrino
