#pragma once
// The merge tool: every dropped PDF and image, in the order given, as the pages of one new PDF.

#include <filesystem>
#include <span>

#include "convert/ToolResult.h"

namespace tavrino {

// Pages of PDFs are copied as they are (content, fonts and images unchanged, no rendering);
// an image contributes one page per frame (every page of a multi-page TIFF, otherwise the
// picture turned upright), each as large in points as the frame is in pixels, a JPEG that
// needs no turning with its data as it is. Every input is read before anything is written,
// so a failing input leaves no output. The result is "<first stem> 합침.pdf" (counter rule)
// beside the first input, with the note page count + "쪽". Throws ConvertError:
//   "PDF를 열 수 없음: " + name     an input named *.pdf does not open
//   "페이지 만들기 실패: " + name    a frame of an image cannot become a page
//   imageFrames' errors, e.g. "이미지로 읽을 수 없음: " + name
//   "합칠 페이지 없음"               no page was collected (also for no input at all)
//   "PDF 저장 실패"                  the document cannot be written; nothing is left behind
ToolResult mergePDF(std::span<const std::filesystem::path> paths);

}  // namespace tavrino
