#pragma once
// Bounds-checked little-endian reading of one record payload or stream. Every read past the
// end throws Hwp5Error, so parsers written on top of it never index outside their buffer and
// never need their own length arithmetic.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace tavrino::docs::hwp5 {

class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> bytes, const char* what = "레코드")
        : bytes_(bytes), what_(what) {}

    std::size_t position() const { return pos_; }
    std::size_t size() const { return bytes_.size(); }
    std::size_t remaining() const { return bytes_.size() - pos_; }
    bool atEnd() const { return pos_ >= bytes_.size(); }

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    std::int8_t i8() { return static_cast<std::int8_t>(u8()); }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    double f64();

    // A WORD character count followed by that many UTF-16LE code units, returned as UTF-8.
    std::string bstr();
    std::span<const std::uint8_t> bytes(std::size_t count);
    void skip(std::size_t count);
    void seek(std::size_t position);

  private:
    void need(std::size_t count) const;

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
    const char* what_;
};

// Appends one Unicode scalar value as UTF-8; lone surrogates become U+FFFD.
void appendUtf8(std::string& out, char32_t codePoint);

// Converts UTF-16LE code units to UTF-8, pairing surrogates and replacing lone ones.
std::string utf16ToUtf8(std::span<const char16_t> units);

}  // namespace tavrino::docs::hwp5
