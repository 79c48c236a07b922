#pragma once
// A paragraph's line spacing as WordprocessingML states it. The Korean formats measure a
// percent line spacing against the character size (10 pt text at 160 % is set on a 16 pt
// pitch, as their line-segment caches show), while Word's "auto" multiplies the font's own
// line height, which for the CJK faces we render with is nearly one and a half times the
// character size; written as "auto", a Korean page would come out a third longer. So the
// Korean measures become the pitch they stand for.

#include <optional>
#include <string>

#include "model/Content.h"

namespace tavrino::docs {

struct DocxLineSpacing {
    int line = 0;      // w:line: 240ths of a line for "auto", twips otherwise
    std::string rule;  // w:lineRule: auto, exact or atLeast
    bool operator==(const DocxLineSpacing&) const = default;
};

// Nothing when the paragraph leaves its line spacing to the default.
std::optional<DocxLineSpacing> docxLineSpacing(const Paragraph& paragraph);

}  // namespace tavrino::docs
