#pragma once
// Reading a ZIP package held in memory, defensively. Every entry name is checked when the
// archive opens (no absolute paths, no ".." components, no backslashes or control
// characters), and every read is bounded: an entry may not expand past `maxEntrySize`, all
// reads together past `maxTotalSize`, and a large entry may not expand more than `maxRatio`
// times its compressed size, whatever sizes the headers claim. A violation is a DocumentError,
// never a partial result.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrino::docs {

struct ZipLimits {
    std::uint64_t maxEntries = 10000;
    std::uint64_t maxEntrySize = 256ull << 20;
    std::uint64_t maxTotalSize = 1ull << 30;
    std::uint64_t maxRatio = 200;  // checked for entries over 1 MiB; real parts stay under 50
};

class ZipReader {
  public:
    // `bytes` must outlive the reader. Throws DocumentError when the archive does not open
    // or holds an unsafe entry name.
    explicit ZipReader(std::string_view bytes, ZipLimits limits = {});
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // Entry names in archive order (folders included).
    const std::vector<std::string>& names() const { return names_; }

    // The stored name equal to `name`, first exactly, then ignoring ASCII case (package part
    // names of DOCX are case-insensitive).
    std::optional<std::string> find(std::string_view name) const;

    // The uncompressed bytes of an entry. Throws DocumentError when it is missing, damaged
    // or over the limits.
    std::string read(std::string_view name);
    std::optional<std::string> readIfPresent(std::string_view name);

    // The compression method of an entry (0 stored, 8 deflated) and its index in order.
    int compressionMethod(std::string_view name) const;

  private:
    struct Archive;
    std::unique_ptr<Archive> archive_;
    std::vector<std::string> names_;
    ZipLimits limits_;
    std::uint64_t archiveSize_ = 0;
    std::uint64_t totalRead_ = 0;
};

// True when `bytes` begin like a ZIP archive.
bool looksLikeZip(std::string_view bytes);

// A name that stays inside the folder it is extracted to: relative, no "..", no
// backslashes, drive letters or control characters.
bool isSafeEntryName(std::string_view name);

}  // namespace tavrino::docs
