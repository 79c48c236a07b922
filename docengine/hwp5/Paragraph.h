#pragma once
// The body of a section as the file holds it: paragraphs with their raw UTF-16 text, character
// shape runs and the controls that their extended control characters stand for. Controls own
// nested paragraph lists (cells, notes, headers, text boxes), so the types are recursive
// through std::vector.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace tavrino::docs::hwp5 {

struct Paragraph;
using ParagraphList = std::vector<Paragraph>;

// Builds a control id the way the file stores it: "tbl " -> 't' << 24 | 'b' << 16 | ...
constexpr std::uint32_t ctrlId(const char (&c)[5]) {
    return (std::uint32_t(std::uint8_t(c[0])) << 24) | (std::uint32_t(std::uint8_t(c[1])) << 16) |
           (std::uint32_t(std::uint8_t(c[2])) << 8) | std::uint32_t(std::uint8_t(c[3]));
}

// The fields shared by tables, drawing objects and equations.
struct ObjectCommon {
    std::uint32_t properties = 0;
    std::int32_t verticalOffset = 0, horizontalOffset = 0;  // HWPUNIT
    std::int32_t width = 0, height = 0;                     // HWPUNIT
    std::string description;

    bool treatAsChar() const { return properties & 0x1; }
};

struct PageDef {
    std::int32_t width = 59528, height = 84188;
    std::int32_t left = 8504, right = 8504, top = 5668, bottom = 4252;
    std::int32_t header = 4252, footer = 4252, gutter = 0;
    bool landscape = false;
};

struct SectionDef {
    PageDef page;
    bool hasPageDef = false;
    int masterPages = 0;                 // LIST_HEADERs of master pages below the definition
    std::uint16_t outlineNumbering = 1;  // the NUMBERING (1-based) outline paragraphs follow
};

struct ColumnDef {
    int count = 1;
    std::int32_t gap = 0;
    std::vector<std::int32_t> widths;  // only when the widths differ
};

struct Cell {
    std::uint16_t column = 0, row = 0, columnSpan = 1, rowSpan = 1;
    std::int32_t width = 0, height = 0;
    std::uint16_t borderFillId = 0;
    int verticalAlign = 0;
    ParagraphList paragraphs;
};

struct Table {
    ObjectCommon object;
    std::uint16_t rows = 0, columns = 0;
    std::int32_t cellSpacing = 0;
    std::uint16_t borderFillId = 0;
    bool repeatHeader = false;
    std::vector<Cell> cells;  // in file order (row-major); cells covered by spans are absent
    ParagraphList caption;
};

struct Shape {
    std::uint32_t kind = 0;  // "$pic", "$rec", "$con", ...
    std::int32_t width = 0, height = 0;
    std::uint16_t binDataId = 0;  // pictures only
    ParagraphList text;           // text box contents
    std::vector<Shape> children;  // groups only
};

struct DrawingObject {
    ObjectCommon object;
    Shape shape;
    ParagraphList caption;
};

struct Equation {
    ObjectCommon object;
    std::string script;
    std::int32_t baseSize = 0;  // letter size, HWPUNIT
};

struct HeaderFooter {
    bool footer = false;
    int applyTo = 0;  // 0 both, 1 even, 2 odd
    ParagraphList paragraphs;
};

struct Note {
    bool endnote = false;
    std::uint32_t number = 0;
    ParagraphList paragraphs;
};

struct Field {
    std::uint32_t kind = 0;  // "%hlk", "%clk", ...
    std::string command;     // "Clickhere:set:...", a hyperlink's "url;..." and so on
};

// Controls whose content the model does not carry (auto numbers, bookmarks, page controls,
// forms, hidden comments, ...); kept so that control characters still pair with them.
struct OtherControl {
    ParagraphList paragraphs;  // any text they hold (hidden comments, for instance)
};

using ControlBody = std::variant<OtherControl, SectionDef, ColumnDef, Table, DrawingObject,
                                 Equation, HeaderFooter, Note, Field>;

struct Control {
    std::uint32_t id = 0;
    ControlBody body;
};

struct CharShapeRun {
    std::uint32_t position = 0;  // in UTF-16 units of the paragraph text
    std::uint32_t charShapeId = 0;
};

struct Paragraph {
    std::uint16_t paraShapeId = 0;
    std::uint8_t styleId = 0;
    std::uint8_t breakKind = 0;  // bit 0 section, 1 multi-column, 2 page, 3 column
    std::u16string text;         // raw units; inline and extended controls span 8 units each
    std::vector<CharShapeRun> charShapes;
    std::vector<Control> controls;  // one per extended control character, in text order
    // Lists hanging directly off the paragraph: master pages after a section's last paragraph.
    int masterPages = 0;

    bool pageBreakBefore() const { return breakKind & 0x4; }
    bool columnBreakBefore() const { return breakKind & 0x8; }
};

}  // namespace tavrino::docs::hwp5
