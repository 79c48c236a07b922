#pragma once
// libvips, set up once per process, and a move-only owner of one VipsImage reference.
// libvips' "untrusted" loaders (ImageMagick and friends) are blocked: arbitrary files are
// only ever parsed by the dedicated decoders.

#include <utility>

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

}  // namespace tavrino
