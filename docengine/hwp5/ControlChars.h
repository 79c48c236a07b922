#pragma once
// Code units 0-31 of paragraph text are controls of three sizes: a "char" control is one unit;
// inline and extended controls are eight units (code, six units of data, code again). Only
// extended controls have a CTRL_HEADER record of their own.

#include <cstdint>

namespace tavrino::docs::hwp5 {

enum class CharKind { text, single, inlined, extended };

// Bit n set: control code n is of that kind; every other code below 32 is extended.
inline constexpr std::uint32_t kSingleCodes = 0xFF002401;  // 0, 10, 13, 24-31
inline constexpr std::uint32_t kInlineCodes = 0x001803F0;  // 4-9, 19, 20

constexpr CharKind charKind(char16_t unit) {
    if (unit >= 32) return CharKind::text;
    if (kSingleCodes & (1u << unit)) return CharKind::single;
    if (kInlineCodes & (1u << unit)) return CharKind::inlined;
    return CharKind::extended;
}

// Units a character at this position occupies in the paragraph text.
constexpr int charWidth(char16_t unit) {
    CharKind kind = charKind(unit);
    return kind == CharKind::inlined || kind == CharKind::extended ? 8 : 1;
}

namespace ctrlchar {
inline constexpr char16_t kSectionColumnDef = 2;
inline constexpr char16_t kFieldStart = 3;
inline constexpr char16_t kFieldEnd = 4;
inline constexpr char16_t kTab = 9;
inline constexpr char16_t kLineBreak = 10;
inline constexpr char16_t kObject = 11;
inline constexpr char16_t kParagraphEnd = 13;
inline constexpr char16_t kHeaderFooter = 16;
inline constexpr char16_t kNote = 17;
inline constexpr char16_t kHyphen = 24;
inline constexpr char16_t kNonBreakingSpace = 30;
inline constexpr char16_t kFixedWidthSpace = 31;
}  // namespace ctrlchar

}  // namespace tavrino::docs::hwp5
