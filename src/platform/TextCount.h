#pragma once
// How many characters a reader sees in a text, the count shown in notes such as "1234자".

#include <cstddef>
#include <string_view>

namespace tavrino {

// Extended grapheme clusters of UTF-8 text: "한글 A" is 4, a syllable written as three jamo
// is 1, CR LF is 1.
std::size_t countCharacters(std::string_view text);

}  // namespace tavrino
