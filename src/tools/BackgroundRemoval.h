#pragma once
// Background removal: the subjects of a photo kept with their own colours, everything else
// fully transparent, at the picture's full oriented size, written as "<stem> 배경제거.png".

#include <filesystem>

#include "convert/Image.h"
#include "convert/ToolResult.h"

namespace tavrino {

// The cut-out as RGBA. Throws NoSubjectError (SubjectMask.h) when the picture shows no
// subject, ConvertError "배경 제거 모델 없음" without the model, "배경 제거 실패: " + the
// engine's text when the network fails, "배경 제거 결과 생성 실패" when the result cannot be
// made, and the reading errors of Image::pixels().
Image removeBackground(const Image& image);

// Reads the source upright, cuts it out and writes the PNG; nothing is written on failure.
ToolResult removeBackgroundTool(const std::filesystem::path& path);

}  // namespace tavrino
