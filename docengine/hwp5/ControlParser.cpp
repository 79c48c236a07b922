// The bodies of the controls the model carries. Each reads its CTRL_HEADER payload after the
// control id and walks the children one level below the header; children it does not know are
// skipped whole.

#include <algorithm>

#include "hwp5/ByteReader.h"
#include "hwp5/Hwp5Error.h"
#include "hwp5/SectionParser.h"

namespace tavrino::docs::hwp5 {
namespace {

// The common object header of tables, drawing objects and equations, after the control id.
ObjectCommon readObjectCommon(ByteReader& in) {
    ObjectCommon o;
    o.properties = in.u32();
    o.verticalOffset = in.i32();
    o.horizontalOffset = in.i32();
    o.width = in.i32();
    o.height = in.i32();
    in.skip(4 + 8 + 4);                 // z-order, outer margins, instance id
    if (in.remaining() >= 4) in.i32();  // split flag
    if (in.remaining() >= 2) o.description = in.bstr();
    return o;
}

// LIST_HEADER: paragraph count (UINT16) and two zero bytes, then the UINT32 list property;
// the word processor's cells put vertical alignment in bits 5-6 of that property (0x20 for
// its default, centred).
constexpr std::size_t kListPropertyAt = 4;
constexpr std::size_t kListHeaderPrefix = 8;

Cell readCell(const Record& r) {
    ByteReader in(r.payload, "표 칸 머리");
    in.seek(kListPropertyAt);
    std::uint32_t property = in.u32();
    in.seek(kListHeaderPrefix);
    Cell cell;
    cell.verticalAlign = static_cast<int>((property >> 5) & 0x3);
    cell.column = in.u16();
    cell.row = in.u16();
    // A span of 0 means the cell covers only itself.
    cell.columnSpan = std::max<std::uint16_t>(1, in.u16());
    cell.rowSpan = std::max<std::uint16_t>(1, in.u16());
    cell.width = in.i32();
    cell.height = in.i32();
    in.skip(8);  // margins
    cell.borderFillId = in.u16();
    return cell;
}

}  // namespace

ControlBody SectionParser::sectionDef(const Record& header, Range range) {
    SectionDef def;
    // After the id: property, column gap, two grids and the default tab width, then the
    // numbering the section's outline paragraphs follow. A header cut short keeps the first.
    ByteReader head(header.payload, "구역 정의");
    if (head.remaining() >= 20) {
        head.skip(18);
        if (const std::uint16_t id = head.u16(); id > 0) def.outlineNumbering = id;
    }
    for (std::size_t i = range.begin; i < range.end; i = subtreeEnd(i)) {
        const Record& r = records_[i];
        if (r.level == range.level + 1 && r.tag == tag::kListHeader) ++def.masterPages;
        if (r.level != range.level + 1 || r.tag != tag::kPageDef) continue;
        ByteReader in(r.payload, "용지 설정");
        PageDef& p = def.page;
        p.width = in.i32();
        p.height = in.i32();
        p.left = in.i32();
        p.right = in.i32();
        p.top = in.i32();
        p.bottom = in.i32();
        p.header = in.i32();
        p.footer = in.i32();
        p.gutter = in.i32();
        p.landscape = in.u32() & 0x1;
        def.hasPageDef = true;
    }
    return def;
}

ControlBody SectionParser::columnDef(const Record& header) {
    ByteReader in(header.payload, "단 설정");
    in.u32();
    ColumnDef def;
    std::uint16_t property = in.u16();
    def.count = std::max(1, (property >> 2) & 0xFF);
    bool equal = property & (1u << 12);
    if (def.count == 1 || equal) {
        def.gap = in.i16();
        return def;
    }
    in.u16();  // property 2
    for (int i = 0; i < def.count && in.remaining() >= 4; ++i) {
        def.widths.push_back(in.u16());
        std::int32_t gap = in.u16();
        if (i == 0) def.gap = gap;
    }
    return def;
}

ControlBody SectionParser::table(const Record& header, Range range, int depth) {
    ByteReader in(header.payload, "표 머리");
    in.u32();
    Table t;
    t.object = readObjectCommon(in);
    bool seenTable = false;
    for (std::size_t i = range.begin; i < range.end;) {
        const Record& r = records_[i];
        if (r.level != range.level + 1) {
            i = subtreeEnd(i);
        } else if (r.tag == tag::kTable) {
            ByteReader tr(r.payload, "표 레코드");
            std::uint32_t property = tr.u32();
            t.repeatHeader = property & 0x4;
            t.rows = tr.u16();
            t.columns = tr.u16();
            t.cellSpacing = tr.i16();
            if (std::uint64_t{t.rows} * t.columns > kMaxTableCells)
                throw Hwp5Error("표가 너무 큼: " + std::to_string(t.rows) + "×" +
                                std::to_string(t.columns));
            tr.skip(8 + 2u * t.rows);
            t.borderFillId = tr.u16();
            seenTable = true;
            i = subtreeEnd(i);
        } else if (r.tag == tag::kListHeader) {
            if (!seenTable) {
                t.caption = listAt(i, depth);
            } else {
                if (t.cells.size() >= kMaxTableCells) throw Hwp5Error("표의 칸이 너무 많음");
                Cell cell = readCell(r);
                cell.paragraphs = listAt(i, depth);
                t.cells.push_back(std::move(cell));
            }
            i = std::max(pos_, i + 1);
        } else {
            i = subtreeEnd(i);
        }
    }
    if (!seenTable) throw Hwp5Error("표 정보 레코드가 없음");
    return t;
}

ControlBody SectionParser::drawingObject(const Record& header, Range range, int depth) {
    ByteReader in(header.payload, "개체 머리");
    in.u32();
    DrawingObject d;
    d.object = readObjectCommon(in);
    for (std::size_t i = range.begin; i < range.end;) {
        const Record& r = records_[i];
        if (r.level != range.level + 1) {
            i = subtreeEnd(i);
        } else if (r.tag == tag::kListHeader) {
            d.caption = listAt(i, depth);
            i = std::max(pos_, i + 1);
        } else if (r.tag == tag::kShapeComponent) {
            d.shape = shape(i, subtreeEnd(i), depth);
            i = subtreeEnd(i);
        } else {
            i = subtreeEnd(i);
        }
    }
    return d;
}

Shape SectionParser::shape(std::size_t at, std::size_t end, int depth) {
    if (depth > kMaxNesting) throw Hwp5Error("문서 안의 개체가 너무 깊게 중첩됨");
    const Record& component = records_[at];
    ByteReader in(component.payload, "그리기 개체");
    Shape s;
    s.kind = in.u32();
    // Directly under a gso control the kind id is written twice; inside a group once.
    std::uint32_t next = in.u32();
    if (next != s.kind) in.seek(4);
    in.skip(8 + 4);  // offset within group, group level, local version
    in.skip(8);      // original size
    s.width = in.i32();
    s.height = in.i32();
    for (std::size_t i = at + 1; i < end;) {
        const Record& r = records_[i];
        if (r.level != component.level + 1) {
            i = subtreeEnd(i);
            continue;
        }
        if (r.tag == tag::kListHeader) {
            s.text = listAt(i, depth + 1);
            i = std::max(pos_, i + 1);
            continue;
        }
        if (r.tag == tag::kShapeComponent) {
            s.children.push_back(shape(i, subtreeEnd(i), depth + 1));
        } else if (r.tag == tag::kShapePicture) {
            ByteReader pic(r.payload, "그림 개체");
            pic.seek(71);
            s.binDataId = pic.u16();
        }
        i = subtreeEnd(i);
    }
    return s;
}

ControlBody SectionParser::equation(const Record& header, Range range) {
    Equation e;
    ByteReader in(header.payload, "수식 머리");
    in.u32();
    e.object = readObjectCommon(in);
    for (std::size_t i = range.begin; i < range.end; i = subtreeEnd(i)) {
        const Record& r = records_[i];
        if (r.level != range.level + 1 || r.tag != tag::kEqEdit) continue;
        ByteReader in(r.payload, "수식");
        in.u32();
        e.script = in.bstr();
        if (in.remaining() >= 4) e.baseSize = in.i32();
    }
    return e;
}

ControlBody SectionParser::headerFooter(const Record& header, Range range, int depth) {
    ByteReader in(header.payload, "머리말/꼬리말");
    HeaderFooter h;
    h.footer = in.u32() == ctrlId("foot");
    if (in.remaining() >= 4) h.applyTo = static_cast<int>(in.u32() & 0x3);
    h.paragraphs = std::get<OtherControl>(other(range, depth)).paragraphs;
    return h;
}

ControlBody SectionParser::note(const Record& header, Range range, int depth) {
    ByteReader in(header.payload, "각주/미주");
    Note n;
    n.endnote = in.u32() == ctrlId("en  ");
    if (in.remaining() >= 4) n.number = in.u32();
    n.paragraphs = std::get<OtherControl>(other(range, depth)).paragraphs;
    return n;
}

ControlBody SectionParser::field(const Record& header) {
    ByteReader in(header.payload, "필드");
    Field f;
    f.kind = in.u32();
    if (in.remaining() >= 5 + 2) {
        in.u32();  // property
        in.u8();   // extra property
        f.command = in.bstr();
    }
    return f;
}

// Lists directly under a control (header text, note text, hidden comments) joined in order.
ControlBody SectionParser::other(Range range, int depth) {
    OtherControl o;
    for (std::size_t i = range.begin; i < range.end;) {
        const Record& r = records_[i];
        if (r.level == range.level + 1 && r.tag == tag::kListHeader) {
            for (auto& p : listAt(i, depth))
                o.paragraphs.push_back(std::move(p));
            i = std::max(pos_, i + 1);
        } else {
            i = subtreeEnd(i);
        }
    }
    return o;
}

}  // namespace tavrino::docs::hwp5
