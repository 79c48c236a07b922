#pragma once
// Character and paragraph formatting as plain values. Every length is in HWPUNIT
// (1/7200 inch), the unit both Korean formats use natively; DOCX readers and writers convert
// at their edge (1 twip = 5 HWPUNIT, 1 EMU = 1/127 HWPUNIT). Character sizes are in
// 1/100 pt (1000 = 10 pt). A value of zero or an empty optional means "not set here: use
// the default", so a reader that does not know a property simply leaves it alone.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavrino::docs {

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Color&) const = default;
};

enum class Underline { none, single, doubled, dotted, dashed, wavy, thick };
enum class Strike { none, single, doubled };
enum class VerticalPosition { baseline, superscript, subscript };

struct CharProps {
    std::string fontFace;   // the face of Korean (East Asian) text; "" = default
    std::string latinFace;  // the face of Latin text when it differs; "" = same as fontFace
    std::int32_t size = 0;  // 1/100 pt; 0 = default
    bool bold = false;
    bool italic = false;
    Underline underline = Underline::none;
    Strike strike = Strike::none;
    VerticalPosition position = VerticalPosition::baseline;
    std::optional<Color> color;
    std::optional<Color> highlight;  // marker pen / shading behind the text
    bool operator==(const CharProps&) const = default;
};

enum class Alignment { left, center, right, justify, distribute };

// How the distance between lines is measured. `percent` is the Korean formats' percent of the
// character size (160 = a 16 pt pitch for 10 pt text); `multiple` is Word's percent of the
// font's own line height (100 = single); the others carry a length in HWPUNIT (`between`: the
// gap added below the text).
enum class LineSpacingRule { percent, exact, atLeast, between, multiple };

struct LineSpacing {
    LineSpacingRule rule = LineSpacingRule::percent;
    std::int32_t value = 0;  // percent or HWPUNIT by rule; 0 = default
    bool operator==(const LineSpacing&) const = default;
};

enum class TabAlign { left, center, right, decimal };
enum class TabLeader { none, dot, hyphen, underscore };

struct TabStop {
    std::int32_t position = 0;  // from the paragraph's left edge
    TabAlign align = TabAlign::left;
    TabLeader leader = TabLeader::none;
    bool operator==(const TabStop&) const = default;
};

enum class ListKind { none, bullet, numbered };

// Numbering formats both formats know; `other` keeps the list but not its look.
enum class NumberFormat {
    decimal,
    upperRoman,
    lowerRoman,
    upperLetter,
    lowerLetter,
    ganada,
    chosung,
    circled,
    hangulDigit,
    hanjaDigit,
    bullet,
    other
};

// The largest start number readers take from a file; larger ones are hostile or broken.
inline constexpr int kMaxListStart = 32767;

struct ListInfo {
    ListKind kind = ListKind::none;
    int level = 0;   // 0-based nesting level
    int listId = 0;  // paragraphs with the same id continue one list; 0 = none
    NumberFormat format = NumberFormat::decimal;
    std::string bulletText;  // the bullet character for bullet lists
    // How a number is shown: "%1." puts the level-1 counter before a dot, "%1.%2" shows two
    // levels; "" means the level's own number followed by a dot.
    std::string pattern;
    int start = 1;  // the number of the first item at this level
    bool operator==(const ListInfo&) const = default;
};

struct ParaProps {
    std::string styleName;  // informational; the values below are already resolved
    int outlineLevel = -1;  // heading level 0..8, -1 = body text
    Alignment alignment = Alignment::left;
    std::int32_t indentLeft = 0;
    std::int32_t indentRight = 0;
    std::int32_t firstLine = 0;  // first-line indent; negative = hanging
    std::int32_t spaceBefore = 0;
    std::int32_t spaceAfter = 0;
    LineSpacing lineSpacing;
    bool pageBreakBefore = false;
    bool columnBreakBefore = false;
    bool keepWithNext = false;
    bool keepLines = false;
    std::vector<TabStop> tabStops;
    ListInfo list;
    bool operator==(const ParaProps&) const = default;
};

}  // namespace tavrino::docs
