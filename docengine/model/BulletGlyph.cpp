#include "model/BulletGlyph.h"

#include <array>
#include <utility>

namespace tavrino::docs {
namespace {

// Symbol-font codes that bullets use, as Unicode. Wingdings' codes unless marked; the two
// fonts share the private-use range, and Word's own bullets come from both.
constexpr std::array<std::pair<char16_t, const char*>, 12> kSymbols{{
    {0xF06C, "\u25CF"},  // ● black circle
    {0xF06D, "\u274D"},  // ❍ shadowed white circle
    {0xF06E, "\u25A0"},  // ■ black square
    {0xF06F, "\u25A1"},  // □ white square
    {0xF071, "\u2751"},  // ❑ shadowed white square
    {0xF075, "\u25C6"},  // ◆ black diamond
    {0xF076, "\u2756"},  // ❖ black diamond minus white X
    {0xF0A1, "\u25CB"},  // ○ white circle
    {0xF0A7, "\u25AA"},  // ▪ small black square
    {0xF0B7, "\u2022"},  // • (Symbol) Word's default bullet
    {0xF0D8, "\u27A2"},  // ➢ arrowhead
    {0xF0FC, "\u2713"},  // ✓ check mark
}};

}  // namespace

std::string bulletGlyph(const std::string& bullet) {
    // A private-use code U+F0xx is three UTF-8 bytes: EF 80..83 xx.
    if (bullet.size() != 3 || static_cast<unsigned char>(bullet[0]) != 0xEF) return bullet;
    const auto b1 = static_cast<unsigned char>(bullet[1]);
    const auto b2 = static_cast<unsigned char>(bullet[2]);
    const auto code = static_cast<char16_t>(0xF000 | ((b1 & 0x3F) << 6) | (b2 & 0x3F));
    if ((code & 0xFF00) != 0xF000) return bullet;
    for (const auto& [symbol, glyph] : kSymbols)
        if (symbol == code) return glyph;
    // Some other symbol: a plain bullet shows that the paragraph is an item, which a missing
    // glyph does not.
    return "\u25CF";
}

}  // namespace tavrino::docs
