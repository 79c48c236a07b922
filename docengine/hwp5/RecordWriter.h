#pragma once
// Builds a record stream (DocInfo, BodyText sections): each record is its header DWORD (tag,
// level, size; the size moves to a DWORD of its own from 0xFFF bytes on) and its payload.

#include <cstdint>
#include <span>
#include <vector>

#include "hwp5/ByteWriter.h"

namespace tavrino::docs::hwp5 {

class RecordWriter {
  public:
    void add(std::uint16_t tag, std::uint16_t level, const ByteWriter& payload) {
        add(tag, level, payload.bytes());
    }
    void add(std::uint16_t tag, std::uint16_t level, const std::vector<std::uint8_t>& payload);

    // Records another writer built, already at their own levels.
    void append(const RecordWriter& other) { out_.raw(other.bytes()); }
    bool empty() const { return out_.size() == 0; }

    const std::vector<std::uint8_t>& bytes() const { return out_.bytes(); }
    std::vector<std::uint8_t> take() { return out_.take(); }

  private:
    ByteWriter out_;
};

// Raw deflate (no zlib header) followed by the 8-byte trailer the word processor writes:
// the CRC-32 of the plain bytes and their length. `level` is zlib's (1 fastest ... 9 smallest).
std::vector<std::uint8_t> deflateStream(std::span<const std::uint8_t> plain, int level = 6);

}  // namespace tavrino::docs::hwp5
