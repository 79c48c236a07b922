#pragma once
// Owns one GObject reference of libgsf (GsfInput, GsfInfile, GsfOutput, GsfOutfile) and drops
// it when it goes; the compound file reader and writer hold every libgsf object this way.

#include <gsf/gsf.h>

#include <utility>

namespace tavrino::docs::hwp5 {

template <typename T>
class GsfRef {
  public:
    explicit GsfRef(T* object = nullptr) : object_(object) {}
    GsfRef(GsfRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    GsfRef& operator=(GsfRef&& other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    GsfRef(const GsfRef&) = delete;
    GsfRef& operator=(const GsfRef&) = delete;
    ~GsfRef() {
        if (object_) g_object_unref(object_);
    }
    T* get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

  private:
    T* object_;
};

}  // namespace tavrino::docs::hwp5
