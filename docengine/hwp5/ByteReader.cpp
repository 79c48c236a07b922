#include "hwp5/ByteReader.h"

#include <cstring>

#include "hwp5/Hwp5Error.h"

namespace tavrino::docs::hwp5 {

void ByteReader::need(std::size_t count) const {
    if (count > remaining()) throw Hwp5Error(std::string(what_) + "가 중간에 잘림");
}

std::uint8_t ByteReader::u8() {
    need(1);
    return bytes_[pos_++];
}

std::uint16_t ByteReader::u16() {
    need(2);
    std::uint16_t value = static_cast<std::uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    pos_ += 2;
    return value;
}

std::uint32_t ByteReader::u32() {
    need(4);
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | bytes_[pos_ + static_cast<std::size_t>(i)];
    pos_ += 4;
    return value;
}

double ByteReader::f64() {
    need(8);
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | bytes_[pos_ + static_cast<std::size_t>(i)];
    pos_ += 8;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string ByteReader::bstr() {
    std::size_t count = u16();
    auto raw = bytes(count * 2);
    std::u16string units(count, u'\0');
    for (std::size_t i = 0; i < count; ++i)
        units[i] = static_cast<char16_t>(raw[2 * i] | (raw[2 * i + 1] << 8));
    return utf16ToUtf8(units);
}

std::span<const std::uint8_t> ByteReader::bytes(std::size_t count) {
    need(count);
    auto out = bytes_.subspan(pos_, count);
    pos_ += count;
    return out;
}

void ByteReader::skip(std::size_t count) {
    need(count);
    pos_ += count;
}

void ByteReader::seek(std::size_t position) {
    if (position > bytes_.size()) throw Hwp5Error(std::string(what_) + "가 중간에 잘림");
    pos_ = position;
}

void appendUtf8(std::string& out, char32_t c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = 0xFFFD;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string utf16ToUtf8(std::span<const char16_t> units) {
    std::string out;
    out.reserve(units.size() * 3);
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        }
        appendUtf8(out, c);
    }
    return out;
}

}  // namespace tavrino::docs::hwp5
