#pragma once
// The shared image encoder. Every picture this program writes goes through writeImage, which
// writes no metadata of the source (no Exif, GPS, XMP, ICC or orientation tag) and places the
// result atomically: the file appears under its final name only once it is complete, and a
// failed encoder leaves nothing behind.

#include <filesystem>
#include <vector>

#include "convert/ConvertError.h"
#include "convert/Image.h"
#include "convert/OutputNaming.h"
#include "menu/Formats.h"

namespace tavrino {

// Encodes `image` as `type` into the first candidate of `name` that is free when the file is
// complete, and returns that path. `quality` (0 to 1) is the lossy quality of JPEG and HEIC
// (0.9 means Q 90) and is ignored by the others. JPEG and BMP cannot hold transparency: an
// image with alpha is flattened onto white for them. PDF gives one page of the image's pixel
// size in points; an untouched JPEG file goes into it as it is (without its metadata).
// Throws ConvertError:
//   extension + " 쓰기 지원 안 됨"       no encoder for the type on this system (HEIC without x265)
//   "파일 저장 실패: " + path            the folder takes no file or the encoder fails
//   "PDF 생성 실패: " + path             the PDF cannot be written
//   "이미지로 읽을 수 없음: " + name      the source turned out damaged while being decoded
std::filesystem::path writeImage(const Image& image, const OutputName& name, Fmt type,
                                 double quality);

// The same into exactly `path`, which must not exist yet (a page inside a new page folder, or
// a name chosen by toolOutputURL).
std::filesystem::path writeImage(const Image& image, const std::filesystem::path& path, Fmt type,
                                 double quality);

// An image's pixels could not be read while its PDF page was made: a ConvertError of its
// own type, because the merge tells this apart from other failures to blame the file.
class PageError : public ConvertError {
  public:
    using ConvertError::ConvertError;
};

// One PDF page per image, in order, into the first free candidate of `name`. Throws
// PageError "페이지 만들기 실패" when an image's pixels cannot be read and ConvertError
// "PDF 저장 실패" when the document cannot be written.
std::filesystem::path writeImagesAsPDF(const std::vector<Image>& images, const OutputName& name);

}  // namespace tavrino
