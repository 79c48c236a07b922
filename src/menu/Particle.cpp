#include "menu/Particle.h"

namespace tavrino {
namespace {

// The last code point of UTF-8 text, or 0 when the text is empty or does not end in a
// complete sequence.
char32_t lastCodePoint(std::string_view text) {
    std::size_t start = text.size();
    while (start > 0 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80)
        --start;
    if (start == 0) return 0;
    --start;
    const auto lead = static_cast<unsigned char>(text[start]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (start + length != text.size()) return 0;
    if (length == 1) return lead;
    char32_t code = lead & (0x7F >> length);
    for (std::size_t i = start + 1; i < text.size(); ++i)
        code = (code << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    return code;
}

// Precomposed Hangul syllables are laid out as (initial × 21 + medial) × 28 + final from
// U+AC00, final 0 meaning none.
bool endsInConsonant(std::string_view word) {
    const char32_t last = lastCodePoint(word);
    return last >= 0xAC00 && last <= 0xD7A3 && (last - 0xAC00) % 28 != 0;
}

}  // namespace

std::string withTopicParticle(std::string_view word) {
    return std::string(word) + (endsInConsonant(word) ? "은" : "는");
}

}  // namespace tavrino
