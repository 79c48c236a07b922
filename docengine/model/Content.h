#pragma once
// The body of a document: blocks (paragraphs and tables) holding runs of inline content.
// Everything is held by value. Content that holds paragraphs of its own (table cells, text
// boxes and shapes, footnotes and endnotes) owns them as a `std::vector<Block>`, so a
// document is one tree and copying a node copies everything below it.
//
// Conventions shared by every reader and writer:
// - A table is a block of its own. The Korean formats anchor a table inside a paragraph;
//   their readers split such a paragraph into the text before the table, the table, and
//   the text after it (empty pieces are dropped), and their writers wrap a table block in a
//   paragraph of its own.
// - Covered cells of a merged range are omitted, as in HWP/HWPX: a cell carries its grid
//   address and spans, and the cells of a row are in column order.
// - Hyperlinks and other fields are marked by a `FieldStart` and a `FieldEnd` around the
//   runs of their visible result, so that no run is nested inside another.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "model/Style.h"

namespace tavrino::docs {

struct Block;

struct Text {
    std::string text;  // UTF-8, never holding tabs or line feeds (see Tab and Break)
    bool operator==(const Text&) const = default;
};

struct Tab {
    bool operator==(const Tab&) const = default;
};

enum class BreakKind { line, page, column };
struct Break {
    BreakKind kind = BreakKind::line;
    bool operator==(const Break&) const = default;
};

// Where a floating object sits. Each axis is measured from the edge of a frame: the sheet
// of paper, the page's text area, the column, or the paragraph that anchors the object
// (there is no vertical column). An object aligned at the start of its frame sits `offset`
// HWPUNIT from that edge; one centred, at the end, or inside/outside on facing pages is
// placed against the frame instead and the offset is left as the source wrote it.
enum class AnchorFrame { paper, page, column, paragraph };
enum class AnchorAlign { start, center, end, inside, outside };

struct AnchorAxis {
    AnchorFrame frame = AnchorFrame::paragraph;
    AnchorAlign align = AnchorAlign::start;
    std::int32_t offset = 0;  // HWPUNIT, may be negative
    bool operator==(const AnchorAxis&) const = default;
};

// How body text flows around a floating object: on both sides, only above and below it,
// or not at all, the object drawn behind or in front of the text.
enum class TextWrap { square, topAndBottom, behindText, inFrontOfText };

// The placement of an object that does not flow as a character. The defaults put it at the
// top left of its paragraph's column with text above and below, which is where an object
// whose source says nothing more ends up.
struct Placement {
    AnchorAxis horizontal{AnchorFrame::column};
    AnchorAxis vertical{AnchorFrame::paragraph};
    TextWrap wrap = TextWrap::topAndBottom;
    bool operator==(const Placement&) const = default;
};

// A picture whose bytes live in `Document::media[mediaIndex]`.
struct Picture {
    std::size_t mediaIndex = 0;
    std::int32_t width = 0;  // displayed size in HWPUNIT
    std::int32_t height = 0;
    bool inlineWithText = true;  // false: floats, anchored at this point
    std::string description;     // alternative text
    std::vector<Block> caption;
    Placement placement;  // where it floats; unused while inlineWithText
    bool operator==(const Picture&) const = default;
};

// An equation kept as the script of the Korean equation editor ("a over b"); formats
// without that language carry the script as plain text.
struct Equation {
    std::string script;
    std::int32_t baseSize = 0;  // 1/100 pt
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const Equation&) const = default;
};

enum class ShapeKind { textBox, rectangle, ellipse, line, arc, polygon, curve, group, other };

// A drawing object with the paragraphs written inside it (a text box is a rectangle with
// text). The text is kept even when the geometry cannot be.
struct Shape {
    ShapeKind kind = ShapeKind::textBox;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool inlineWithText = false;
    std::vector<Block> blocks;
    std::vector<Block> caption;
    Placement placement;  // where it floats; unused while inlineWithText
    bool operator==(const Shape&) const = default;
};

enum class NoteKind { footnote, endnote };

// A footnote or endnote: its reference mark sits here, its text is `blocks`.
struct Note {
    NoteKind kind = NoteKind::footnote;
    std::vector<Block> blocks;
    bool operator==(const Note&) const = default;
};

enum class FieldKind {
    hyperlink,
    bookmark,
    pageNumber,
    pageCount,
    date,
    crossReference,
    formula,
    clickHere,
    other
};

struct FieldStart {
    FieldKind kind = FieldKind::other;
    std::string target;       // the URL of a hyperlink, the name of a bookmark
    std::string instruction;  // the field code as the source wrote it, for the record
    bool operator==(const FieldStart&) const = default;
};

struct FieldEnd {
    bool operator==(const FieldEnd&) const = default;
};

using Inline = std::variant<Text, Tab, Break, Picture, Equation, Shape, Note, FieldStart, FieldEnd>;

// A stretch of inline content sharing one set of character properties.
struct TextRun {
    CharProps props;
    std::vector<Inline> content;
    bool operator==(const TextRun&) const = default;
};

struct Paragraph {
    ParaProps props;
    std::vector<TextRun> runs;
    bool operator==(const Paragraph&) const = default;
};

enum class BorderStyle { none, single, doubled, dotted, dashed, thick };

struct Border {
    BorderStyle style = BorderStyle::none;
    std::int32_t width = 0;  // HWPUNIT (0.12 mm is about 34)
    Color color;
    bool operator==(const Border&) const = default;
};

struct Borders {
    Border left, right, top, bottom;
    bool operator==(const Borders&) const = default;
};

enum class VerticalAlign { top, center, bottom };

struct TableCell {
    int column = 0;  // grid address of the top-left corner
    int row = 0;
    int columnSpan = 1;
    int rowSpan = 1;
    std::int32_t width = 0;
    std::int32_t height = 0;
    Borders borders;
    std::optional<Color> fill;
    VerticalAlign verticalAlign = VerticalAlign::top;
    std::vector<Block> blocks;  // at least one paragraph in a well-formed table
    bool operator==(const TableCell&) const = default;
};

struct TableRow {
    std::vector<TableCell> cells;  // covered cells omitted, in column order
    std::int32_t height = 0;
    bool isHeader = false;  // repeated at the top of every page
    bool operator==(const TableRow&) const = default;
};

struct Table {
    int columnCount = 0;
    std::vector<std::int32_t> columnWidths;  // one per grid column when known, else empty
    std::vector<TableRow> rows;
    Borders borders;  // the outer border; cells carry their own
    Alignment alignment = Alignment::left;
    std::vector<Block> caption;  // "표 1 ..." written below the table
    bool operator==(const Table&) const = default;
};

struct Block {
    std::variant<Paragraph, Table> content;
    bool operator==(const Block&) const = default;

    bool isParagraph() const { return std::holds_alternative<Paragraph>(content); }
    bool isTable() const { return std::holds_alternative<Table>(content); }
};

}  // namespace tavrino::docs
