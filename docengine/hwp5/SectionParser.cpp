#include "hwp5/SectionParser.h"

#include <limits>

#include "hwp5/ByteReader.h"
#include "hwp5/Hwp5Error.h"

namespace tavrino::docs::hwp5 {

ParagraphList parseSection(std::span<const Record> records) {
    return SectionParser(records).section();
}

ParagraphList SectionParser::section() {
    if (records_.empty()) throw Hwp5Error("구역에 문단이 없음");
    if (records_[0].tag != tag::kParaHeader) throw Hwp5Error("구역이 문단으로 시작하지 않음");
    ParagraphList list =
        paragraphList(records_[0].level, std::numeric_limits<std::size_t>::max(), 0);
    // What follows the last paragraph (master pages, memo lists) carries no body text.
    return list;
}

std::size_t SectionParser::subtreeEnd(std::size_t at) const {
    std::uint16_t level = records_[at].level;
    std::size_t end = at + 1;
    while (end < records_.size() && records_[end].level > level)
        ++end;
    return end;
}

ParagraphList SectionParser::paragraphList(std::uint16_t level, std::size_t limit, int depth) {
    if (depth > kMaxNesting) throw Hwp5Error("문서 안의 개체가 너무 깊게 중첩됨");
    ParagraphList list;
    while (pos_ < records_.size() && list.size() < limit) {
        const Record& r = records_[pos_];
        if (r.tag != tag::kParaHeader || r.level != level) break;
        bool last = r.payload.size() >= 4 && (r.payload[3] & 0x80);
        list.push_back(paragraph(depth));
        if (last) break;
    }
    return list;
}

Paragraph SectionParser::paragraph(int depth) {
    const Record& header = records_[pos_];
    ByteReader in(header.payload, "문단 머리");
    Paragraph p;
    in.u32();  // character count; the text record is authoritative
    in.u32();  // control mask, unreliable in edited files
    p.paraShapeId = in.u16();
    p.styleId = in.u8();
    p.breakKind = in.u8();

    std::size_t end = subtreeEnd(pos_);
    std::uint16_t childLevel = header.level + 1;
    ++pos_;
    while (pos_ < end) {
        const Record& r = records_[pos_];
        if (r.level != childLevel) {
            pos_ = subtreeEnd(pos_);
            continue;
        }
        switch (r.tag) {
            case tag::kParaText:
                paragraphText(p, r);
                break;
            case tag::kParaCharShape: {
                ByteReader runs(r.payload, "글자 모양 목록");
                while (runs.remaining() >= 8)
                    p.charShapes.push_back({runs.u32(), runs.u32()});
                break;
            }
            case tag::kCtrlHeader:
                p.controls.push_back(control(depth));
                continue;
            case tag::kListHeader:
                ++p.masterPages;
                break;
            default:
                break;
        }
        pos_ = subtreeEnd(pos_);
    }
    return p;
}

void SectionParser::paragraphText(Paragraph& p, const Record& r) {
    std::size_t count = r.payload.size() / 2;
    p.text.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        p.text[i] = static_cast<char16_t>(r.payload[2 * i] | (r.payload[2 * i + 1] << 8));
}

Control SectionParser::control(int depth) {
    if (depth + 1 > kMaxNesting) throw Hwp5Error("문서 안의 개체가 너무 깊게 중첩됨");
    const Record& header = records_[pos_];
    ByteReader in(header.payload, "컨트롤 머리");
    Control c;
    c.id = in.u32();
    Range range{pos_ + 1, subtreeEnd(pos_), header.level};
    pos_ = range.begin;
    switch (c.id) {
        case ctrlId("secd"):
            c.body = sectionDef(header, range);
            break;
        case ctrlId("cold"):
            c.body = columnDef(header);
            break;
        case ctrlId("tbl "):
            c.body = table(header, range, depth + 1);
            break;
        case ctrlId("gso "):
            c.body = drawingObject(header, range, depth + 1);
            break;
        case ctrlId("eqed"):
            c.body = equation(header, range);
            break;
        case ctrlId("head"):
        case ctrlId("foot"):
            c.body = headerFooter(header, range, depth + 1);
            break;
        case ctrlId("fn  "):
        case ctrlId("en  "):
            c.body = note(header, range, depth + 1);
            break;
        default:
            if ((c.id >> 24) == '%')
                c.body = field(header);
            else
                c.body = other(range, depth + 1);
    }
    pos_ = range.end;
    return c;
}

ParagraphList SectionParser::listAt(std::size_t at, int depth) {
    ByteReader in(records_[at].payload, "문단 목록 머리");
    std::size_t count = in.remaining() >= 2 ? in.u16() : 0;
    pos_ = at + 1;
    return paragraphList(records_[at].level,
                         count ? count : std::numeric_limits<std::size_t>::max(), depth);
}

}  // namespace tavrino::docs::hwp5
