#include "hwp5/SectionWriter.h"

#include <algorithm>
#include <climits>

#include "hwp5/ControlChars.h"
#include "hwp5/Paragraph.h"
#include "hwp5/Record.h"
#include "hwp5/SectionParser.h"
#include "model/DocumentError.h"

namespace tavrino::docs::hwp5 {
namespace {

constexpr std::uint32_t kLastInList = 0x80000000u;
constexpr std::uint8_t kPageBreak = 0x04;
constexpr std::uint8_t kColumnBreak = 0x08;

// An inline control: its code, six units of data, its code again.
void inlineChar(std::u16string& text, char16_t code, std::uint32_t data = 0) {
    text.push_back(code);
    text.push_back(static_cast<char16_t>(data & 0xFFFF));
    text.push_back(static_cast<char16_t>(data >> 16));
    text.append(4, u'\0');
    text.push_back(code);
}

}  // namespace

std::vector<std::uint8_t> SectionWriter::write(const Section& section) {
    section_ = &section;
    const PageSetup& page = section.page;
    const std::int64_t body =
        std::int64_t{page.width} - page.marginLeft - page.marginRight - page.gutter;
    textWidth_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(body, 0, INT32_MAX));
    // A section has at least one paragraph: the one that carries its definition.
    auto paragraphs = buildList(section.blocks, 0, 0);
    section_ = nullptr;
    RecordWriter out;
    emitList(paragraphs, 0, out);
    return out.take();
}

std::vector<SectionWriter::ParagraphOut> SectionWriter::buildList(const std::vector<Block>& blocks,
                                                                  std::uint16_t level, int depth) {
    std::vector<ParagraphOut> paragraphs;
    buildBlocks(blocks, level, depth, paragraphs);
    return paragraphs;
}

void SectionWriter::emitList(std::vector<ParagraphOut>& paragraphs, std::uint16_t level,
                             RecordWriter& out) const {
    for (std::size_t i = 0; i < paragraphs.size(); ++i)
        emit(paragraphs[i], i + 1 == paragraphs.size(), level, out);
}

void SectionWriter::buildBlocks(const std::vector<Block>& blocks, std::uint16_t level, int depth,
                                std::vector<ParagraphOut>& out) {
    if (depth > kMaxNesting) throw DocumentError("문서 안의 개체가 너무 깊게 중첩됨");
    for (const Block& block : blocks) {
        if (const auto* paragraph = std::get_if<docs::Paragraph>(&block.content)) {
            buildParagraph(*paragraph, level, depth, out);
            continue;
        }
        // A table sits alone in a paragraph of its own, aligned as the table is.
        const auto& t = std::get<docs::Table>(block.content);
        ParaProps props;
        props.alignment = t.alignment;
        out.push_back(start(props, info_.charShape(CharProps{})));
        sectionControls(out.back(), level);
        table(out.back(), t, level, depth);
    }
    if (out.empty()) {
        out.push_back(start(ParaProps{}, info_.charShape(CharProps{})));
        sectionControls(out.back(), level);
    }
}

SectionWriter::ParagraphOut SectionWriter::start(const ParaProps& props, std::uint32_t charShape) {
    ParagraphOut p;
    p.paraShape = info_.paraShape(props);
    p.style = info_.style(props, p.paraShape, charShape);
    if (props.pageBreakBefore) p.breakKind |= kPageBreak;
    if (props.columnBreakBefore) p.breakKind |= kColumnBreak;
    p.shapes.emplace_back(0, charShape);
    return p;
}

void SectionWriter::useShape(ParagraphOut& p, std::uint32_t charShape) const {
    const auto position = static_cast<std::uint32_t>(p.text.size());
    if (p.shapes.back().second == charShape) return;
    if (p.shapes.back().first == position) {
        p.shapes.back().second = charShape;
        // Two neighbours with one shape are one run.
        if (p.shapes.size() > 1 && p.shapes[p.shapes.size() - 2].second == charShape)
            p.shapes.pop_back();
        return;
    }
    p.shapes.emplace_back(position, charShape);
}

// Text never holds controls in the model; should some arrive, tabs and line ends keep their
// meaning and the other C0 codes, which have no visible form and would be read as control
// characters, are left out.
void SectionWriter::addText(ParagraphOut& p, const std::string& text) const {
    for (char16_t unit : utf8ToUtf16(text)) {
        if (unit >= 0x20) {
            p.text.push_back(unit);
        } else if (unit == u'\t') {
            inlineChar(p.text, ctrlchar::kTab);
            p.controlMask |= 1u << ctrlchar::kTab;
        } else if (unit == u'\n' || unit == u'\r') {
            p.text.push_back(ctrlchar::kLineBreak);
            p.controlMask |= 1u << ctrlchar::kLineBreak;
        }
    }
}

void SectionWriter::closeFields(ParagraphOut& p) const {
    while (!p.fieldIds.empty()) {
        inlineChar(p.text, ctrlchar::kFieldEnd, p.fieldIds.back());
        p.controlMask |= 1u << ctrlchar::kFieldEnd;
        p.fieldIds.pop_back();
    }
}

void SectionWriter::buildParagraph(const docs::Paragraph& paragraph, std::uint16_t level, int depth,
                                   std::vector<ParagraphOut>& out) {
    const std::uint32_t firstShape =
        info_.charShape(paragraph.runs.empty() ? CharProps{} : paragraph.runs.front().props);
    out.push_back(start(paragraph.props, firstShape));
    sectionControls(out.back(), level);
    bool content = false;
    for (const TextRun& run : paragraph.runs) {
        const std::uint32_t shapeId = info_.charShape(run.props);
        useShape(out.back(), shapeId);
        for (const Inline& item : run.content) {
            ParagraphOut& p = out.back();
            if (const auto* brk = std::get_if<Break>(&item); brk && brk->kind != BreakKind::line) {
                // Page and column breaks belong to paragraph heads: the paragraph goes on in a
                // new one that starts on the new page or column.
                const std::uint8_t kind = brk->kind == BreakKind::page ? kPageBreak : kColumnBreak;
                if (content) {
                    closeFields(p);
                    ParaProps props = paragraph.props;
                    props.pageBreakBefore = props.columnBreakBefore = false;
                    out.push_back(start(props, shapeId));
                    content = false;
                }
                out.back().breakKind |= kind;
                continue;
            }
            content = true;
            std::visit(
                [&](const auto& value) {
                    using T = std::decay_t<decltype(value)>;
                    if constexpr (std::is_same_v<T, Text>) {
                        addText(p, value.text);
                    } else if constexpr (std::is_same_v<T, Tab>) {
                        inlineChar(p.text, ctrlchar::kTab);
                        p.controlMask |= 1u << ctrlchar::kTab;
                    } else if constexpr (std::is_same_v<T, Break>) {
                        p.text.push_back(ctrlchar::kLineBreak);
                        p.controlMask |= 1u << ctrlchar::kLineBreak;
                    } else if constexpr (std::is_same_v<T, docs::Picture>) {
                        picture(p, value, level, depth);
                    } else if constexpr (std::is_same_v<T, docs::Equation>) {
                        equation(p, value, level);
                    } else if constexpr (std::is_same_v<T, docs::Shape>) {
                        shape(p, value, level, depth);
                    } else if constexpr (std::is_same_v<T, docs::Note>) {
                        note(p, value, level, depth);
                    } else if constexpr (std::is_same_v<T, FieldStart>) {
                        field(p, value, level);
                    } else if constexpr (std::is_same_v<T, FieldEnd>) {
                        if (!p.fieldIds.empty()) {
                            inlineChar(p.text, ctrlchar::kFieldEnd, p.fieldIds.back());
                            p.controlMask |= 1u << ctrlchar::kFieldEnd;
                            p.fieldIds.pop_back();
                        }
                    }
                },
                item);
        }
    }
    closeFields(out.back());
}

void SectionWriter::emit(ParagraphOut& p, bool last, std::uint16_t level, RecordWriter& out) const {
    p.text.push_back(ctrlchar::kParagraphEnd);
    // A run may have been opened right at the end, where no character carries it.
    while (p.shapes.size() > 1 && p.shapes.back().first >= p.text.size() - 1)
        p.shapes.pop_back();
    const auto count = static_cast<std::uint32_t>(p.text.size());
    if (count >= kLastInList) throw DocumentError("문단 하나가 너무 김");
    ByteWriter header;
    header.u32(count | (last ? kLastInList : 0u))
        .u32(p.controlMask)
        .u16(p.paraShape)
        .u8(p.style)
        .u8(p.breakKind)
        .u16(static_cast<std::uint16_t>(std::min<std::size_t>(p.shapes.size(), 0xFFFF)))
        .u16(0)
        .u16(1)
        .u32(0)
        .u16(0);
    out.add(tag::kParaHeader, level, header);
    if (count > 1) {
        ByteWriter text;
        text.units(p.text);
        out.add(tag::kParaText, level + 1, text);
    }
    ByteWriter shapes;
    for (std::size_t i = 0; i < p.shapes.size() && i < 0xFFFF; ++i)
        shapes.u32(p.shapes[i].first).u32(p.shapes[i].second);
    out.add(tag::kParaCharShape, level + 1, shapes);
    // One line of the layout cache; the word processor lays the paragraph out again anyway.
    ByteWriter line;
    line.u32(0).i32(0).i32(1000).i32(1000).i32(850).i32(600).i32(0).i32(textWidth_).u32(0x00060000);
    out.add(tag::kParaLineSeg, level + 1, line);
    out.append(p.controls);
}

void SectionWriter::extendedChar(ParagraphOut& p, char16_t code, std::uint32_t id) {
    inlineChar(p.text, code, id);
    p.controlMask |= 1u << code;
}

}  // namespace tavrino::docs::hwp5
