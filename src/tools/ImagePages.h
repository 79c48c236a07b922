#pragma once
// The merge's image pages: every frame of an image as a page of a new PDF, through the shared
// image-to-PDF writer (upright pages as large in points as the frame is in pixels, JPEGs that
// need no turning with their data as it is).

#include <filesystem>

namespace tavrino {

// Writes the pages of `source` to `pdf`. Throws ConvertError:
//   "페이지 만들기 실패: " + name     a frame cannot become a page
//   "이미지로 읽을 수 없음: " + name   the picture turns out damaged while its pages are made
//   imageFrames' errors
void writeImagePages(const std::filesystem::path& source, const std::filesystem::path& pdf);

}  // namespace tavrino
