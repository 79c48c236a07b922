#pragma once
// Raw deflate (no zlib or gzip header) as used by compressed HWP streams.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tavrino::docs::hwp5 {

// The largest stream we inflate. Real section streams are a few megabytes at most; the limit
// keeps a deflate bomb from taking the machine's memory.
inline constexpr std::size_t kMaxInflatedSize = 256u << 20;

// Inflates one raw deflate stream. Bytes after the end of the deflate data (the word
// processor's CRC-32 and length trailer, zero fill after decryption) are ignored. Throws
// Hwp5Error when the data is damaged, ends early, or would inflate past `limit`.
std::vector<std::uint8_t> inflateRaw(std::span<const std::uint8_t> compressed,
                                     std::size_t limit = kMaxInflatedSize);

}  // namespace tavrino::docs::hwp5
