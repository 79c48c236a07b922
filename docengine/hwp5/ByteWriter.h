#pragma once
// Little-endian building of record payloads and streams: the writing counterpart of
// ByteReader. Strings go out as UTF-16LE, the only text encoding the binary format knows.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavrino::docs::hwp5 {

// UTF-8 as UTF-16 code units; bytes that are not UTF-8 become U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);

class ByteWriter {
  public:
    ByteWriter& u8(std::uint8_t value) {
        bytes_.push_back(value);
        return *this;
    }
    ByteWriter& u16(std::uint16_t value) {
        bytes_.push_back(static_cast<std::uint8_t>(value));
        bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
        return *this;
    }
    ByteWriter& u32(std::uint32_t value) {
        u16(static_cast<std::uint16_t>(value));
        return u16(static_cast<std::uint16_t>(value >> 16));
    }
    ByteWriter& i16(std::int16_t value) { return u16(static_cast<std::uint16_t>(value)); }
    ByteWriter& i32(std::int32_t value) { return u32(static_cast<std::uint32_t>(value)); }
    ByteWriter& f64(double value);
    ByteWriter& zeros(std::size_t count) {
        bytes_.insert(bytes_.end(), count, 0);
        return *this;
    }
    ByteWriter& units(std::u16string_view text) {
        for (char16_t unit : text)
            u16(unit);
        return *this;
    }
    // A WORD count and that many UTF-16 units; text longer than a WORD can count is cut at
    // a character boundary rather than wrapped.
    ByteWriter& bstr(std::string_view utf8);
    ByteWriter& raw(std::string_view bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
        return *this;
    }
    ByteWriter& raw(const std::vector<std::uint8_t>& bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
        return *this;
    }

    std::size_t size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

  private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace tavrino::docs::hwp5
