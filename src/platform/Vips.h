#pragma once
// The one door to libvips: start-up, a move-only owner of one libvips object, and the few
// picture operations the converters and tools use. Above this file a picture is an opaque
// VipsImageRef; no libvips call or struct field is reached from anywhere else. Operations
// return an empty reference (or false) when libvips fails, with libvips' error text already
// cleared: callers turn a failure into their own message.
// libvips' "untrusted" loaders (ImageMagick and friends) are blocked: arbitrary files are
// only ever parsed by the dedicated decoders.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/PixelBuffer.h"

typedef struct _VipsImage VipsImage;
typedef struct _VipsSource VipsSource;

namespace tavrino {

// Starts libvips on first use (thread-safe); later calls do nothing.
void ensureVips();

// Owns one reference to a GObject-derived libvips object (VipsImage, VipsSource, ...).
template <typename T>
class VipsRef {
  public:
    VipsRef() = default;
    explicit VipsRef(T* object) : object_(object) {}
    VipsRef(VipsRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    VipsRef& operator=(VipsRef&& other) noexcept {
        if (this != &other) {
            reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    VipsRef(const VipsRef&) = delete;
    VipsRef& operator=(const VipsRef&) = delete;
    ~VipsRef() { reset(); }

    T* get() const { return object_; }
    T** out() {
        reset();
        return &object_;
    }
    explicit operator bool() const { return object_ != nullptr; }
    void reset();

  private:
    T* object_ = nullptr;
};

void releaseVipsObject(void* object);

template <typename T>
void VipsRef<T>::reset() {
    if (object_) releaseVipsObject(std::exchange(object_, nullptr));
}

using VipsImageRef = VipsRef<VipsImage>;
using VipsSourceRef = VipsRef<VipsSource>;

// Decoded pixels held in libvips' own allocation.
class PixelMemory {
  public:
    PixelMemory(void* data, int width, int height, int bands);
    ~PixelMemory();
    PixelMemory(PixelMemory&& other) noexcept : view_(std::exchange(other.view_, {})) {}
    PixelMemory(const PixelMemory&) = delete;
    PixelMemory& operator=(const PixelMemory&) = delete;

    PixelView view() const { return view_; }

  private:
    PixelView view_;
};

struct VipsOpened {
    VipsImageRef image;  // empty when no allowed loader reads the file
    std::string loader;  // the loader's nickname ("jpegload_source", ...)
};

// Opens a file through a libvips source (a plain path: brackets in a name are never read as
// load options) with a loader `allowLoader` accepts, refusing truncated data. Pixels are
// decoded later, as they are used; `randomAccess` when the whole picture is needed at once.
// `page` (from 0) picks an image of a multi-image file.
VipsOpened openVipsPicture(const std::filesystem::path& path, bool randomAccess, int page,
                           bool (*allowLoader)(std::string_view loader));

// The same for a file already in memory; `bytes` must outlive the picture, whose pixels are
// still decoded from them lazily.
VipsOpened openVipsPictureBytes(std::string_view bytes, bool randomAccess, int page,
                                bool (*allowLoader)(std::string_view loader));

int vipsWidth(const VipsImageRef& image);
int vipsHeight(const VipsImageRef& image);
int vipsBands(const VipsImageRef& image);
// What every decoded sample of the picture takes together, in bytes.
std::uint64_t vipsDecodedBytes(const VipsImageRef& image);
bool vipsHasAlpha(const VipsImageRef& image);
// The orientation tag (1 to 8; 1 when there is none).
int vipsOrientation(const VipsImageRef& image);

// A second reference to the same (immutable) picture.
VipsImageRef vipsShare(const VipsImageRef& image);
// Grey or sRGB at 8 bits per component; the input itself when it already is.
VipsImageRef vipsEightBit(VipsImageRef image);
// sRGB, for encoders that take colour only.
VipsImageRef vipsSrgb(const VipsImageRef& image);
// The picture turned upright by its orientation tag, the tag gone.
VipsImageRef vipsUpright(const VipsImageRef& image);
// Drawn over opaque white, 8 bits per component, no alpha band.
VipsImageRef vipsOnWhite(const VipsImageRef& image);
// Forced to exactly width × height, alpha premultiplied while filtering.
VipsImageRef vipsResized(const VipsImageRef& image, int width, int height);
// A quarter turn clockwise.
VipsImageRef vipsQuarterTurn(const VipsImageRef& image);
// The area of width × height pixels whose top-left pixel is (left, top); empty when the
// area does not lie wholly inside the picture or has no pixels.
VipsImageRef vipsCropped(const VipsImageRef& image, int left, int top, int width, int height);
// Decoded now into memory that the result owns.
VipsImageRef vipsInMemory(const VipsImageRef& image);
// A picture of 8-bit components copied from `buffer` (grey for 1–2 bands, else sRGB).
VipsImageRef vipsFromPixels(const PixelBuffer& buffer);

// Decodes every pixel; false when the data turns out damaged.
bool vipsDecodesAll(const VipsImageRef& image);
// Decodes everything into memory; an empty PixelView when decoding fails.
PixelMemory vipsPixelMemory(const VipsImageRef& image);

// Decodes the picture from top to bottom in stripes of `rows` rows (the last may be shorter)
// and hands each to `use` as packed pixels, which stay valid only during the call. Works on
// sequentially read files, so a large picture is never whole in memory. False when decoding
// fails (the stripes handed out so far were correct).
bool vipsForEachStripe(const VipsImageRef& image, int rows,
                       const std::function<void(const PixelView& stripe)>& use);

enum class VipsSaver { jpeg, tiff };
// Writes the picture without metadata (no Exif, XMP, ICC or orientation tag). `quality`
// (0–100) is used by JPEG. False when the encoder (or the lazily decoded source) fails.
bool vipsSave(const VipsImageRef& image, const std::filesystem::path& path, VipsSaver saver,
              int quality);

}  // namespace tavrino
