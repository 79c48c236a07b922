#pragma once
// Pictures with several frames: multi-page TIFFs convert frame by frame (or into one PDF),
// animated GIFs are recognised so the menus can keep them away from single-frame work.

#include <filesystem>
#include <vector>

#include "convert/Image.h"
#include "menu/Formats.h"

namespace tavrino {

// Extension "tif"/"tiff" (any case) and more than one image in the file, read from the
// header alone. Any failure gives false.
bool isMultiPageTIFF(const std::filesystem::path& path);
// Extension "gif" (any case) and more than one frame.
bool isAnimatedGIF(const std::filesystem::path& path);

// Every decodable page of a multi-page TIFF, in order, pixels as stored (pages that fail to
// decode are left out); for any other file a one-element list holding loadOrientedImage.
// The pages are decoded here, before anything is written. Throws loadOrientedImage's errors,
// and "이미지로 읽을 수 없음: " + file name when the pages together exceed maxImagePixels.
std::vector<Image> imageFrames(const std::filesystem::path& path);
// The same when the caller already read the header: `pageCount` is the file's frame count
// (FileFacts::frameCount) for a TIFF, 0 for anything else.
std::vector<Image> imageFrames(const std::filesystem::path& path, int pageCount);

// One file per frame, "stem 1.png", "stem 2.png", ... in a new folder "stem 이미지" (or
// "stem 이미지 N"), which is returned; for PDF one document "stem.pdf" (counter rule) with
// one page per frame, which is returned. Throws ConvertError "그림 장을 읽지 못함" for an
// empty list; a failed write removes the folder and passes the error on.
std::filesystem::path convertImageFrames(const std::filesystem::path& path,
                                         const std::vector<Image>& frames, Fmt fmt);

}  // namespace tavrino
