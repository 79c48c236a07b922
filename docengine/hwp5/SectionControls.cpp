// The controls of a paragraph: the section's definition and running heads, tables, pictures,
// drawing objects, equations, notes and fields. Each puts its control character into the
// paragraph text and its record tree one level below the paragraph, in text order.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>

#include "hwp5/ControlChars.h"
#include "hwp5/ObjectPlacement.h"
#include "hwp5/Paragraph.h"
#include "hwp5/SectionParser.h"
#include "hwp5/SectionWriter.h"
#include "model/DocumentError.h"

namespace tavrino::docs::hwp5 {
namespace {

constexpr std::uint16_t kCellMargin[4] = {510, 510, 141, 141};  // left, right, top, bottom

// Object placement: inline objects flow as characters; floating ones are placed from the
// paragraph and column they are anchored in, with text above and below. Sizes are absolute.
constexpr std::uint32_t kTreatAsChar = 0x1 | 0x4;
constexpr std::uint32_t kPlacement = (2u << 3) | (2u << 8) | (4u << 15) | (2u << 18);
constexpr std::uint32_t kFloating = kPlacement | (1u << 13) | (1u << 21);
constexpr std::uint32_t kFigure = 1u << 26, kTableKind = 2u << 26, kEquationKind = 3u << 26;
constexpr std::int16_t kTableOuterMargin = 283;

std::uint32_t placement(bool inlineWithText) {
    return inlineWithText ? kTreatAsChar | kPlacement : kFloating;
}

// A floating picture or drawing keeps the frames, alignment and wrap it was read with.
std::uint32_t placement(bool inlineWithText, const Placement& where) {
    constexpr std::uint32_t kAbsoluteSize = (4u << 15) | (2u << 18);
    return inlineWithText ? placement(true) : placementBits(where) | kAbsoluteSize;
}

ObjectOffsets offsets(bool inlineWithText, const Placement& where) {
    if (inlineWithText) return {};
    return {where.vertical.offset, where.horizontal.offset};
}

// The part every drawing object shares: its kind, size, and an identity transform.
void shapeComponent(ByteWriter& out, std::uint32_t kind, std::int32_t width, std::int32_t height) {
    out.u32(kind).u32(kind).i32(0).i32(0).u16(0).u16(1);
    out.i32(width).i32(height).i32(width).i32(height).u32(0);
    out.u16(0).i32(width / 2).i32(height / 2);
    out.u16(1);
    for (int matrix = 0; matrix < 3; ++matrix)
        out.f64(1).f64(0).f64(0).f64(0).f64(1).f64(0);
}

// A thin black outline, no fill, no shadow.
void outline(ByteWriter& out, std::uint32_t instance) {
    out.u32(0).i32(33).u32(0).u8(0);
    out.u32(0).u32(0);
    out.u32(0).u32(0xB2B2B2).i32(283).i32(283);
    out.u32(instance).u8(0).u8(0);
}

// The model's own fallback sizes for objects that came without one (an inch, a line).
std::int32_t orDefault(std::int32_t value, std::int32_t fallback) {
    return value > 0 ? value : fallback;
}

// Lengths added up without overflowing: a hostile model may hold any int32 values.
template <typename It>
std::int32_t saturatedSum(It begin, It end) {
    std::int64_t sum = 0;
    for (It it = begin; it != end; ++it)
        sum = std::min<std::int64_t>(sum + std::max(*it, 0), INT32_MAX);
    return static_cast<std::int32_t>(sum);
}

struct ShapeGeometry {
    std::uint32_t kind;
    std::uint16_t tag;
    ByteWriter record;
};

ShapeGeometry shapeGeometry(ShapeKind kind, std::int32_t w, std::int32_t h) {
    ShapeGeometry g{ctrlId("$rec"), tag::kShapeRectangle, {}};
    ByteWriter& out = g.record;
    switch (kind) {
        case ShapeKind::ellipse:
            // Centre, the ends of both axes, and an arc that closes on itself.
            g.kind = ctrlId("$ell");
            g.tag = tag::kShapeEllipse;
            out.u32(0).i32(w / 2).i32(h / 2).i32(w).i32(h / 2).i32(w / 2).i32(0);
            out.i32(w).i32(h / 2).i32(w).i32(h / 2).i32(w).i32(h / 2).i32(w).i32(h / 2);
            return g;
        case ShapeKind::line:
            g.kind = ctrlId("$lin");
            g.tag = tag::kShapeLine;
            out.i32(0).i32(0).i32(w).i32(h).u16(0);
            return g;
        case ShapeKind::arc:
            // A quarter of an ellipse: centre at the bottom-left corner.
            g.kind = ctrlId("$arc");
            g.tag = tag::kShapeArc;
            out.u8(0).i32(0).i32(h).i32(w).i32(h).i32(0).i32(0);
            return g;
        default:
            out.u8(0).i32(0).i32(0).i32(w).i32(0).i32(w).i32(h).i32(0).i32(h);
            return g;
    }
}

std::uint32_t fieldId(FieldKind kind) {
    switch (kind) {
        case FieldKind::hyperlink:
            return ctrlId("%hlk");
        case FieldKind::bookmark:
            return ctrlId("%bmk");
        case FieldKind::date:
            return ctrlId("%dte");
        case FieldKind::crossReference:
            return ctrlId("%xrf");
        case FieldKind::formula:
            return ctrlId("%fmu");
        case FieldKind::clickHere:
            return ctrlId("%clk");
        default:
            return ctrlId("%unk");
    }
}

// A hyperlink's command: the target with ':', ';' and '\' escaped, then the link options.
std::string hyperlinkCommand(const std::string& target) {
    std::string command;
    for (char c : target) {
        if (c == ':' || c == ';' || c == '\\') command += '\\';
        command += c;
    }
    return command + ";1;0;0;";
}

}  // namespace

void SectionWriter::listHead(ByteWriter& out, std::size_t paragraphs, std::uint32_t property) {
    out.u16(static_cast<std::uint16_t>(std::min<std::size_t>(paragraphs, 0xFFFF)))
        .u16(0)
        .u32(property);
}

void SectionWriter::objectHead(ByteWriter& out, std::uint32_t id, std::uint32_t property,
                               std::int32_t width, std::int32_t height,
                               const std::string& description, std::int16_t margin,
                               ObjectOffsets offsets) {
    out.u32(id).u32(property).i32(offsets.vertical).i32(offsets.horizontal);
    out.i32(width).i32(height).i32(0);
    out.i16(margin).i16(margin).i16(margin).i16(margin);
    out.u32(nextInstance()).i32(0).bstr(description);
}

void SectionWriter::sectionControls(ParagraphOut& p, std::uint16_t level) {
    if (!section_ || level != 0) return;
    const Section& section = *std::exchange(section_, nullptr);
    const std::uint16_t child = level + 1;
    const PageSetup& page = section.page;
    p.breakKind |= 0x03;  // a section, and its column layout, start here

    extendedChar(p, ctrlchar::kSectionColumnDef, ctrlId("secd"));
    ByteWriter secd;
    secd.u32(ctrlId("secd")).u32(0).i16(1134).u16(0).u16(0).u32(8000).u16(1);
    secd.u16(0).u16(0).u16(0).u16(0).u16(0);  // page, picture, table, equation numbers; language
    secd.zeros(17);                           // the rest of the word processor's 47 bytes
    p.controls.add(tag::kCtrlHeader, child, secd);
    // The file keeps the sheet in portrait terms and flags landscape.
    ByteWriter def;
    def.i32(page.landscape ? page.height : page.width)
        .i32(page.landscape ? page.width : page.height)
        .i32(page.marginLeft)
        .i32(page.marginRight)
        .i32(page.marginTop)
        .i32(page.marginBottom)
        .i32(page.header)
        .i32(page.footer)
        .i32(page.gutter)
        .u32(page.landscape ? 1u : 0u);
    p.controls.add(tag::kPageDef, child + 1, def);
    for (int note = 0; note < 2; ++note) {
        ByteWriter shape;
        shape.u32(0).u16(0).u16(0).u16(u')').u16(1).u32(0xFFFFFFFF);
        shape.i16(850).i16(567).i16(283).u8(1).u8(1).u32(0);
        p.controls.add(tag::kFootnoteShape, child + 1, shape);
    }
    for (int side = 0; side < 3; ++side) {
        ByteWriter border;
        border.u32(1).i16(1417).i16(1417).i16(1417).i16(1417).u16(1);
        p.controls.add(tag::kPageBorderFill, child + 1, border);
    }

    extendedChar(p, ctrlchar::kSectionColumnDef, ctrlId("cold"));
    const int columns = std::clamp(section.columns.count, 1, 255);
    ByteWriter cold;
    cold.u32(ctrlId("cold"))
        .u16(static_cast<std::uint16_t>((columns << 2) | (1u << 12)))
        .i16(static_cast<std::int16_t>(std::clamp(section.columns.gap, 0, 0x7FFF)))
        .u16(0)
        .u8(0)
        .u8(1)
        .u32(0);
    p.controls.add(tag::kCtrlHeader, child, cold);

    for (const docs::HeaderFooter& h : section.headers)
        headerFooter(p, h, false, level);
    for (const docs::HeaderFooter& f : section.footers)
        headerFooter(p, f, true, level);
}

void SectionWriter::headerFooter(ParagraphOut& p, const docs::HeaderFooter& h, bool footer,
                                 std::uint16_t level) {
    // Running heads apply to both, even or odd pages here; a first-page-only head has no
    // counterpart, as in the other Korean format.
    if (h.side == PageSide::first) return;
    const std::uint32_t id = footer ? ctrlId("foot") : ctrlId("head");
    extendedChar(p, ctrlchar::kHeaderFooter, id);
    const std::uint16_t child = level + 1;
    ByteWriter head;
    head.u32(id).u32(h.side == PageSide::even ? 1u : h.side == PageSide::odd ? 2u : 0u);
    p.controls.add(tag::kCtrlHeader, child, head);
    auto paragraphs = buildList(h.blocks, child + 1, 1);
    ByteWriter list;
    listHead(list, paragraphs.size(), 0);
    list.i32(textWidth_).i32(4252).u8(0).u8(0);
    p.controls.add(tag::kListHeader, child + 1, list);
    emitList(paragraphs, child + 1, p.controls);
}

void SectionWriter::caption(const std::vector<Block>& blocks, std::int32_t width,
                            std::uint16_t level, int depth, RecordWriter& out) {
    if (blocks.empty()) return;
    auto paragraphs = buildList(blocks, level, depth);
    ByteWriter list;
    listHead(list, paragraphs.size(), 0);
    list.u32(3).i32(width).i16(850).i32(width);  // below the object
    out.add(tag::kListHeader, level, list);
    emitList(paragraphs, level, out);
}

void SectionWriter::table(ParagraphOut& p, const docs::Table& t, std::uint16_t level, int depth) {
    if (t.rows.empty()) return;  // nothing to show, and the format has no empty table
    const auto rows = static_cast<int>(t.rows.size());
    std::int64_t wanted = std::max(t.columnCount, 1);
    for (const TableRow& row : t.rows)
        for (const TableCell& cell : row.cells)
            wanted = std::max<std::int64_t>(
                wanted, std::int64_t{std::max(cell.column, 0)} + std::max(cell.columnSpan, 1));
    const auto columns = static_cast<int>(std::min<std::int64_t>(wanted, 0x10000));
    if (rows > 0xFFFF || columns > 0xFFFF ||
        static_cast<std::uint64_t>(rows) * static_cast<std::uint64_t>(columns) > kMaxTableCells)
        throw DocumentError("표가 너무 커서 한글 문서에 담을 수 없음: " + std::to_string(rows) +
                            "×" + std::to_string(columns));
    if (depth + 1 > kMaxNesting) throw DocumentError("문서 안의 개체가 너무 깊게 중첩됨");

    std::vector<std::int32_t> widths(static_cast<std::size_t>(columns), 0);
    if (t.columnWidths.size() == widths.size()) widths = t.columnWidths;
    for (const TableRow& row : t.rows)
        for (const TableCell& cell : row.cells)
            if (cell.columnSpan == 1 && cell.column >= 0 && cell.column < columns &&
                widths[cell.column] <= 0)
                widths[cell.column] = cell.width;
    for (auto& w : widths)
        if (w <= 0) w = std::max<std::int32_t>(textWidth_ / columns, 283);
    const std::int32_t width = saturatedSum(widths.begin(), widths.end());
    std::vector<std::int32_t> heights;
    for (const TableRow& row : t.rows)
        heights.push_back(std::max(row.height, 0));
    const std::int32_t height = saturatedSum(heights.begin(), heights.end());

    extendedChar(p, ctrlchar::kObject, ctrlId("tbl "));
    const std::uint16_t c = level + 1;
    ByteWriter head;
    // As the word processor places its own tables: in the flow of the text, below and above
    // it, never as a character.
    objectHead(head, ctrlId("tbl "), kFloating | kTableKind, width, height, "", kTableOuterMargin);
    p.controls.add(tag::kCtrlHeader, c, head);
    caption(t.caption, width, c + 1, depth + 1, p.controls);

    ByteWriter record;
    const bool repeatHeader = t.rows.front().isHeader;
    record.u32(2u | (repeatHeader ? 4u : 0u))
        .u16(static_cast<std::uint16_t>(rows))
        .u16(static_cast<std::uint16_t>(columns))
        .i16(0);
    for (std::uint16_t margin : kCellMargin)
        record.u16(margin);
    for (const TableRow& row : t.rows)
        record.u16(static_cast<std::uint16_t>(std::min<std::size_t>(row.cells.size(), 0xFFFF)));
    record.u16(info_.borderFill(BorderLook{t.borders, std::nullopt})).u16(0);
    p.controls.add(tag::kTable, c + 1, record);

    for (int r = 0; r < rows; ++r) {
        const TableRow& row = t.rows[static_cast<std::size_t>(r)];
        for (const TableCell& cell : row.cells) {
            // The grid address comes from the row the cell is in; spans are kept inside the
            // grid, so the file never places a cell outside its table.
            const int column = std::clamp(cell.column, 0, columns - 1);
            const int columnSpan = std::clamp(cell.columnSpan, 1, columns - column);
            const int rowSpan = std::clamp(cell.rowSpan, 1, rows - r);
            std::int32_t cellWidth = cell.width;
            if (cellWidth <= 0)
                cellWidth =
                    saturatedSum(widths.begin() + column, widths.begin() + column + columnSpan);
            auto paragraphs = buildList(cell.blocks, c + 1, depth + 1);
            ByteWriter list;
            const std::uint32_t valign = cell.verticalAlign == VerticalAlign::center   ? 1u
                                         : cell.verticalAlign == VerticalAlign::bottom ? 2u
                                                                                       : 0u;
            listHead(list, paragraphs.size(), valign << 5);
            list.u16(static_cast<std::uint16_t>(column))
                .u16(static_cast<std::uint16_t>(r))
                .u16(static_cast<std::uint16_t>(columnSpan))
                .u16(static_cast<std::uint16_t>(rowSpan))
                .i32(cellWidth)
                .i32(std::max(cell.height, 0));
            for (std::uint16_t margin : kCellMargin)
                list.u16(margin);
            list.u16(info_.borderFill(BorderLook{cell.borders, cell.fill}))
                .i32(std::max(cellWidth - kCellMargin[0] - kCellMargin[1], 0))
                .zeros(9);
            p.controls.add(tag::kListHeader, c + 1, list);
            emitList(paragraphs, c + 1, p.controls);
        }
    }
}

void SectionWriter::picture(ParagraphOut& p, const docs::Picture& picture, std::uint16_t level,
                            int depth) {
    const std::uint16_t binData = info_.binData(picture.mediaIndex);
    if (binData == 0) return;  // the model names no picture there
    if (depth + 1 > kMaxNesting) throw DocumentError("문서 안의 개체가 너무 깊게 중첩됨");
    const std::int32_t width = orDefault(picture.width, 7200);
    const std::int32_t height = orDefault(picture.height, 7200);
    extendedChar(p, ctrlchar::kObject, ctrlId("gso "));
    const std::uint16_t c = level + 1;
    ByteWriter head;
    objectHead(head, ctrlId("gso "), placement(picture.inlineWithText, picture.placement) | kFigure,
               width, height, picture.description, 0,
               offsets(picture.inlineWithText, picture.placement));
    p.controls.add(tag::kCtrlHeader, c, head);
    caption(picture.caption, width, c + 1, depth + 1, p.controls);
    ByteWriter component;
    shapeComponent(component, ctrlId("$pic"), width, height);
    p.controls.add(tag::kShapeComponent, c + 1, component);
    ByteWriter pic;
    pic.u32(0).i32(0).u32(0);
    pic.i32(0).i32(0).i32(width).i32(0).i32(width).i32(height).i32(0).i32(height);
    pic.i32(0).i32(0).i32(width).i32(height);
    pic.i16(0).i16(0).i16(0).i16(0);
    pic.u8(0).u8(0).u8(0).u16(binData).u8(0).u32(nextInstance());
    pic.u32(0).u32(0).u32(0);  // no picture effects; original size unknown
    p.controls.add(tag::kShapePicture, c + 2, pic);
}

void SectionWriter::shape(ParagraphOut& p, const docs::Shape& s, std::uint16_t level, int depth) {
    if (depth + 2 > kMaxNesting) throw DocumentError("문서 안의 개체가 너무 깊게 중첩됨");
    const std::int32_t width = orDefault(s.width, 14400);
    const std::int32_t height = orDefault(s.height, 7200);
    // The model keeps a drawing's kind and size, not its points: each kind gets the simplest
    // geometry of its size. Polygons, curves, groups and unknown kinds, whose points the model
    // does not have, become the rectangle that holds their text.
    const ShapeGeometry geometry = shapeGeometry(s.kind, width, height);
    extendedChar(p, ctrlchar::kObject, ctrlId("gso "));
    const std::uint16_t c = level + 1;
    ByteWriter head;
    objectHead(head, ctrlId("gso "), placement(s.inlineWithText, s.placement), width, height, "", 0,
               offsets(s.inlineWithText, s.placement));
    p.controls.add(tag::kCtrlHeader, c, head);
    caption(s.caption, width, c + 1, depth + 1, p.controls);
    ByteWriter component;
    shapeComponent(component, geometry.kind, width, height);
    outline(component, nextInstance());
    p.controls.add(tag::kShapeComponent, c + 1, component);
    if (!s.blocks.empty()) {
        auto paragraphs = buildList(s.blocks, c + 2, depth + 2);
        ByteWriter list;
        listHead(list, paragraphs.size(), 0);
        list.i16(283).i16(283).i16(283).i16(283).i32(width);
        p.controls.add(tag::kListHeader, c + 2, list);
        emitList(paragraphs, c + 2, p.controls);
    }
    p.controls.add(geometry.tag, c + 2, geometry.record);
}

void SectionWriter::equation(ParagraphOut& p, const docs::Equation& e, std::uint16_t level) {
    const std::int32_t size = orDefault(e.baseSize, 1000);
    extendedChar(p, ctrlchar::kObject, ctrlId("eqed"));
    const std::uint16_t c = level + 1;
    ByteWriter head;
    objectHead(head, ctrlId("eqed"), kTreatAsChar | kPlacement | kEquationKind,
               orDefault(e.width, 3000), orDefault(e.height, 1000), "");
    p.controls.add(tag::kCtrlHeader, c, head);
    ByteWriter eq;
    eq.u32(0).bstr(e.script).i32(size).u32(0).i16(85).u16(0);
    eq.bstr("Equation Version 60").bstr("HancomEQN");
    p.controls.add(tag::kEqEdit, c + 1, eq);
}

void SectionWriter::note(ParagraphOut& p, const docs::Note& n, std::uint16_t level, int depth) {
    if (depth + 1 > kMaxNesting) throw DocumentError("문서 안의 개체가 너무 깊게 중첩됨");
    const bool endnote = n.kind == NoteKind::endnote;
    const std::uint32_t id = endnote ? ctrlId("en  ") : ctrlId("fn  ");
    extendedChar(p, ctrlchar::kNote, id);
    const std::uint16_t c = level + 1;
    ByteWriter head;
    head.u32(id).u32(endnote ? ++endnotes_ : ++footnotes_).u16(0).u16(u')').u32(0);
    head.u32(nextInstance());
    p.controls.add(tag::kCtrlHeader, c, head);
    auto paragraphs = buildList(n.blocks, c + 1, depth + 1);
    ByteWriter list;
    listHead(list, paragraphs.size(), 0);
    p.controls.add(tag::kListHeader, c + 1, list);
    emitList(paragraphs, c + 1, p.controls);
}

void SectionWriter::field(ParagraphOut& p, const FieldStart& f, std::uint16_t level) {
    const std::uint32_t id = fieldId(f.kind);
    extendedChar(p, ctrlchar::kFieldStart, id);
    const std::string command = f.kind == FieldKind::hyperlink && !f.target.empty()
                                    ? hyperlinkCommand(f.target)
                                    : f.instruction;
    ByteWriter head;
    head.u32(id).u32(0).u8(0).bstr(command).u32(nextInstance());
    p.controls.add(tag::kCtrlHeader, level + 1, head);
    p.fieldIds.push_back(id);
}

}  // namespace tavrino::docs::hwp5
