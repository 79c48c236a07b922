#pragma once
// Whole-file reads and atomic writes for the document tools.

#include <cstdint>
#include <filesystem>
#include <string>

namespace tavrino::docs {

// Documents larger than this are refused rather than read into memory.
inline constexpr std::uintmax_t maxDocumentBytes = 512ull << 20;

// The bytes of a file. Throws DocumentError when it cannot be read or is too large.
std::string readFileBytes(const std::filesystem::path& path);

// Writes `bytes` to a hidden temporary sibling of `path` and renames it over `path` only
// when everything was written and flushed; on failure the temporary file is removed and
// `path` is left as it was. Throws DocumentError.
void writeFileAtomically(const std::filesystem::path& path, const std::string& bytes);

}  // namespace tavrino::docs
