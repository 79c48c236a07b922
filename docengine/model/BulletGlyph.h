#pragma once
// The bullet a reader sees. Korean and Word documents often store a bullet as a symbol-font
// character: the private-use code U+F000 plus the character's code in Wingdings or Symbol
// ("" is Wingdings' black circle). Without that font, which Linux does not have, such a
// code shows as a missing or foreign glyph; its Unicode equivalent shows everywhere.

#include <string>

namespace tavrino::docs {

// `bullet` with a symbol-font code replaced by the Unicode character it draws; any other
// text unchanged, "" as "".
std::string bulletGlyph(const std::string& bullet);

}  // namespace tavrino::docs
