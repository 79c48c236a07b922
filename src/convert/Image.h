#pragma once
// The shared image reader, white-background flattening and the oriented reader. An Image is
// a libvips picture of 8-bit components (grey or sRGB, with or without alpha). Reading is
// lazy where possible: pixels are decoded while the image is written, so a large photo
// passes through once without a full-size copy in memory.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/PixelBuffer.h"
#include "platform/Vips.h"

namespace tavrino {

class Image {
  public:
    Image() = default;
    // Takes the reference. `origin` is the file the pixels are still read from (empty for
    // pixels already in memory); `loader` the libvips loader nickname that opened it.
    explicit Image(VipsImageRef pixels, std::filesystem::path origin = {}, std::string loader = {});

    int width() const;
    int height() const;
    int bands() const;
    bool hasAlpha() const;
    explicit operator bool() const { return static_cast<bool>(pixels_); }

    // The picture itself, for the libvips operations of platform/Vips.h.
    const VipsImageRef& ref() const { return pixels_; }
    const std::filesystem::path& origin() const { return origin_; }
    // "jpegload_source" for an untouched JPEG file, empty once the pixels were changed.
    const std::string& loader() const { return loader_; }

    // A new Image sharing these pixels (libvips images are reference counted and immutable).
    Image share() const;
    // A derived picture: keeps the origin (its errors are still the source's) and drops the
    // loader, since the pixels are no longer the file's own.
    Image derived(VipsImageRef pixels) const;

    // Decodes everything into memory owned by the result, without a further copy; for
    // encoders that only read the pixels. Throws like pixels().
    PixelMemory pixelMemory() const;

    // Decodes everything into a PixelBuffer. Throws ConvertError "이미지로 읽을 수 없음: "
    // + origin file name when the source turns out to be damaged while decoding.
    PixelBuffer pixels() const;

    // Pixels already in memory as an Image.
    static Image fromPixels(const PixelBuffer& buffer);

  private:
    VipsImageRef pixels_;
    std::filesystem::path origin_;
    std::string loader_;
};

// The first image of an image file, pixels as stored (no orientation applied), or page 1 of
// a PDF (by extension) rendered at twice its size in points onto white. BMP files are read
// by our own BMP decoder; other formats by libvips' own decoders (never ImageMagick).
// Throws ConvertError "이미지로 읽을 수 없음: " + file name (or "PDF를 열 수 없음: " + file
// name for a PDF) for anything unreadable, damaged, not an image or larger than
// maxImagePixels.
Image loadImage(const std::filesystem::path& path);

// An image file already in memory, read like loadImage reads a picture file (no PDF). The
// pixels are decoded from `bytes` as they are used, so `bytes` must outlive the result.
// Throws ConvertError "이미지로 읽을 수 없음" like loadImage.
Image loadImageBytes(std::string_view bytes);

// The same picture with its orientation tag applied (the way it is meant to be seen) and
// the tag gone. PDFs as loadImage. Throws like loadImage.
Image loadOrientedImage(const std::filesystem::path& path);

// The image drawn over opaque white: same size, no alpha band. An image without alpha comes
// back as it is. Never fails (returns the input when libvips cannot build the operation).
Image flattened(const Image& image);

// Image `page` (from 0) of a multi-image file (TIFF pages, GIF frames), decoded into
// memory now, pixels as stored. No value when that image does not decode.
std::optional<Image> loadImagePage(const std::filesystem::path& path, int page);

// Reads the image file without libvips' lazy decoding of the whole file: used to tell a
// damaged source from a failing encoder. True when every pixel of the first image decodes.
bool decodesCompletely(const std::filesystem::path& path);

}  // namespace tavrino
