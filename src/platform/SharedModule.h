#pragma once
// Owns one shared object opened with dlopen, its functions bound on first call. It is never
// unmapped: worker threads and exit handlers may still run its code while the process ends.

#include <filesystem>
#include <stdexcept>
#include <utility>

namespace tavrino {

// A module could not be found or loaded; what() names the file and the loader's reason.
class ModuleError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class SharedModule {
  public:
    // Throws ModuleError.
    static SharedModule open(const std::filesystem::path& path);

    SharedModule(SharedModule&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    SharedModule& operator=(SharedModule&& other) noexcept;
    SharedModule(const SharedModule&) = delete;
    SharedModule& operator=(const SharedModule&) = delete;
    ~SharedModule();

  private:
    explicit SharedModule(void* handle) : handle_(handle) {}
    void* handle_ = nullptr;
};

}  // namespace tavrino
