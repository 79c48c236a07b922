#pragma once
// Read access to the streams of an OLE2 compound file through libgsf. The whole file is held
// in memory (HWP files are small, and checkCompoundFile needs every sector anyway); it is
// checked before libgsf parses it, so libgsf only ever sees files whose chains are sound.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tavrino::docs::hwp5 {

// Files larger than this are refused before they are read into memory.
inline constexpr std::uint64_t kMaxCompoundFileSize = 512ull << 20;

class CompoundFile {
  public:
    // Throws Hwp5Error when the file cannot be read or is not a sound compound file.
    static CompoundFile openFile(const std::string& path);
    static CompoundFile openBytes(std::vector<std::uint8_t> bytes);

    CompoundFile(CompoundFile&&) noexcept;
    CompoundFile& operator=(CompoundFile&&) noexcept;
    ~CompoundFile();

    // Paths use '/' between storage and stream names ("BodyText/Section0"); names compare
    // case-insensitively, as in the container itself.
    bool hasStream(const std::string& path) const;
    // The stream's bytes, or no value when there is no such stream. Throws Hwp5Error when the
    // stream cannot be read in full.
    std::optional<std::vector<std::uint8_t>> read(const std::string& path) const;
    // Names of the direct children of a storage ("" for the root), in container order.
    std::vector<std::string> children(const std::string& storage) const;

  private:
    struct Impl;
    explicit CompoundFile(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace tavrino::docs::hwp5
