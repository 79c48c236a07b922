// Whole documents built byte by byte and read through readHwp5: what lands in the model, and
// how damaged or locked documents are refused.

#include <gtest/gtest.h>

#include <tuple>

#include "HwpFixture.h"
#include "hwp5/Hwp5Error.h"
#include "hwp5/Hwp5Reader.h"
#include "hwp5/SectionParser.h"
#include "model/Walk.h"

namespace tavrino::docs::hwp5 {
namespace {

using test::Bytes;
using test::paragraph;

Document read(const Bytes& file) {
    return readHwp5(std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
}

std::string textOf(const docs::Paragraph& p) {
    std::string out;
    for (const auto& run : p.runs)
        for (const auto& item : run.content) {
            if (auto* t = std::get_if<Text>(&item)) out += t->text;
            if (std::holds_alternative<Tab>(item)) out += '\t';
            if (std::holds_alternative<Break>(item)) out += '\n';
        }
    return out;
}

const docs::Paragraph& paragraphAt(const Section& s, std::size_t i) {
    return std::get<docs::Paragraph>(s.blocks.at(i).content);
}

TEST(Hwp5Reader, TextWithInlineControls) {
    std::u16string tab(8, u'\0');
    tab[0] = tab[7] = 9;
    std::u16string text = u"가나" + tab + u"다" + std::u16string(1, 10) + u"라" +
                          std::u16string(1, 30) + u"\xD83D\xDE00";
    Document doc = read(test::hwpDocument({test::join(
        {paragraph(0, u"첫 문단", false), paragraph(0, text, false), paragraph(0, u"", true)})}));
    ASSERT_EQ(doc.sections.size(), 1u);
    const Section& s = doc.sections[0];
    ASSERT_EQ(s.blocks.size(), 3u);
    EXPECT_EQ(textOf(paragraphAt(s, 0)), "첫 문단");
    EXPECT_EQ(textOf(paragraphAt(s, 1)), "가나\t다\n라\u00A0\U0001F600");
    EXPECT_EQ(textOf(paragraphAt(s, 2)), "");  // an empty line stays a paragraph
}

TEST(Hwp5Reader, TableSplitsItsParagraphAndKeepsCells) {
    std::u16string anchor = u"앞" + test::extendedChar(11, "tbl ") + u"뒤";
    Bytes section = test::join({paragraph(0, anchor, true, test::table(1, 2, 3, u"칸"))});
    Document doc = read(test::hwpDocument({section}));
    const Section& s = doc.sections.at(0);
    ASSERT_EQ(s.blocks.size(), 3u);
    EXPECT_EQ(textOf(paragraphAt(s, 0)), "앞");
    ASSERT_TRUE(s.blocks[1].isTable());
    const docs::Table& t = std::get<docs::Table>(s.blocks[1].content);
    EXPECT_EQ(t.columnCount, 3);
    ASSERT_EQ(t.rows.size(), 2u);
    ASSERT_EQ(t.rows[1].cells.size(), 3u);
    EXPECT_EQ(t.rows[1].cells[2].column, 2);
    EXPECT_EQ(textOf(std::get<docs::Paragraph>(t.rows[1].cells[2].blocks.at(0).content)), "칸");
    EXPECT_EQ(textOf(paragraphAt(s, 2)), "뒤");
}

// A table control of one row and one cell (CTRL_HEADER "tbl ", TABLE, LIST_HEADER) whose
// paragraph records follow as `cell`, under a paragraph at `level`.
Bytes oneCellTable(std::uint16_t level, const Bytes& cell) {
    return test::join({
        test::record(71, level + 1, test::Writer().u32(0x74626C20).zeros(40).bytes),
        test::record(77, level + 2,
                     test::Writer().u32(0).u16(1).u16(1).zeros(10).u16(1).u16(1).bytes),
        test::record(72, level + 2,
                     test::Writer()
                         .u16(1)
                         .u16(0)
                         .u32(0)
                         .u16(0)
                         .u16(0)
                         .u16(1)
                         .u16(1)
                         .u32(1)
                         .u32(1)
                         .zeros(10)
                         .bytes),
        cell,
    });
}

TEST(Hwp5Reader, NestedTableInACell) {
    std::u16string anchor = test::extendedChar(11, "tbl ");
    // The inner table sits in the cell's paragraph, two levels below the outer control.
    Bytes inner = paragraph(2, anchor, true, test::table(3, 1, 1, u"안"));
    Bytes outer = oneCellTable(0, inner);
    Document doc = read(test::hwpDocument({paragraph(0, anchor, true, outer)}));
    EXPECT_EQ(statistics(doc).tables, 2);
    const auto& cell = std::get<docs::Table>(doc.sections[0].blocks.at(0).content).rows[0].cells[0];
    ASSERT_TRUE(cell.blocks.at(0).isTable());
}

// A chain of tables, each in the only cell of the one before.
Bytes nestedTables(int depth) {
    std::u16string anchor = test::extendedChar(11, "tbl ");
    Bytes body = paragraph(static_cast<std::uint16_t>(2 * depth), u"바닥", true);
    for (int d = depth - 1; d >= 0; --d) {
        auto level = static_cast<std::uint16_t>(2 * d);
        body = paragraph(level, anchor, true, oneCellTable(level, body));
    }
    return body;
}

TEST(Hwp5Reader, NestingIsBoundedNotRecursedForever) {
    EXPECT_NO_THROW(read(test::hwpDocument({nestedTables(kMaxNesting / 2 - 1)})));
    try {
        read(test::hwpDocument({nestedTables(kMaxNesting + 5)}));
        FAIL() << "deep nesting was accepted";
    } catch (const Hwp5Error& e) {
        EXPECT_NE(std::string(e.what()).find("중첩"), std::string::npos) << e.what();
    }
}

TEST(Hwp5Reader, AbsurdTableIsRefused) {
    std::u16string anchor = test::extendedChar(11, "tbl ");
    // 60000 x 60000 declared cells: refused before anything is sized by the count.
    Bytes control = test::join({
        test::record(71, 1, test::Writer().u32(0x74626C20).zeros(40).bytes),
        test::record(77, 2, test::Writer().u32(0).u16(60000).u16(60000).zeros(10).bytes),
    });
    EXPECT_THROW(read(test::hwpDocument({paragraph(0, anchor, true, control)})), Hwp5Error);
}

TEST(Hwp5Reader, CellOutsideItsGridIsRefused) {
    std::u16string anchor = test::extendedChar(11, "tbl ");
    Bytes control = test::join({
        test::record(71, 1, test::Writer().u32(0x74626C20).zeros(40).bytes),
        test::record(77, 2, test::Writer().u32(0).u16(1).u16(1).zeros(10).u16(1).u16(1).bytes),
        test::record(
            72, 2, test::Writer().u16(1).u16(0).u32(0).u16(5).u16(0).u16(1).u16(1).zeros(18).bytes),
        paragraph(2, u"x", true),
    });
    EXPECT_THROW(read(test::hwpDocument({paragraph(0, anchor, true, control)})), Hwp5Error);
}

TEST(Hwp5Reader, SectionsInStreamOrder) {
    Document doc = read(test::hwpDocument(
        {paragraph(0, u"하나", true), paragraph(0, u"둘", true), paragraph(0, u"셋", true)}));
    ASSERT_EQ(doc.sections.size(), 3u);
    EXPECT_EQ(textOf(paragraphAt(doc.sections[2], 0)), "셋");
}

TEST(Hwp5Reader, LockedDocumentsAreRefusedClearly) {
    Bytes body = paragraph(0, u"비밀", true);
    try {
        read(test::hwpDocument({body}, 0x2));
        FAIL() << "a password document was read";
    } catch (const Hwp5Locked& e) {
        EXPECT_NE(std::string(e.what()).find("암호"), std::string::npos);
    }
    EXPECT_THROW(read(test::hwpDocument({body}, 0x10)), Hwp5Locked);
}

TEST(Hwp5Reader, DamagedBodiesAreErrors) {
    // A record whose size runs past the end of the section stream.
    Bytes good = paragraph(0, u"본문", true);
    Bytes cut(good.begin(), good.end() - 3);
    EXPECT_THROW(read(test::hwpDocument({cut})), Hwp5Error);
    // A section that does not start with a paragraph, and one that is empty.
    EXPECT_THROW(read(test::hwpDocument({test::record(67, 0, {0x41, 0})})), Hwp5Error);
    EXPECT_THROW(read(test::hwpDocument({Bytes{}})), Hwp5Error);
    // Compressed flag set, but the streams hold no deflate data.
    EXPECT_THROW(read(test::hwpDocument({good}, 0x1)), Hwp5Error);
    // No section streams at all.
    EXPECT_THROW(read(test::hwpDocument({})), Hwp5Error);
}

TEST(Hwp5Reader, CompressedDocumentReads) {
    Bytes section = test::deflateRaw(paragraph(0, u"압축된 본문", true));
    Bytes file = test::compoundFile({{"FileHeader", test::fileHeader(0x1)},
                                     {"DocInfo", test::deflateRaw(test::minimalDocInfo())},
                                     {"BodyText/Section0", section}});
    EXPECT_EQ(textOf(paragraphAt(read(file).sections.at(0), 0)), "압축된 본문");
}

TEST(Hwp5Reader, WrongSignatureOrVersion) {
    Bytes header = test::fileHeader(0);
    header[0] = 'X';
    Bytes file = test::compoundFile({{"FileHeader", header},
                                     {"DocInfo", test::minimalDocInfo()},
                                     {"BodyText/Section0", paragraph(0, u"a", true)}});
    EXPECT_THROW(read(file), Hwp5Error);
    Bytes v3 = test::compoundFile({{"FileHeader", test::fileHeader(0, 0x03000000)},
                                   {"DocInfo", test::minimalDocInfo()},
                                   {"BodyText/Section0", paragraph(0, u"a", true)}});
    EXPECT_THROW(read(v3), Hwp5Error);
}

}  // namespace
}  // namespace tavrino::docs::hwp5

namespace tavrino::docs::hwp5 {
namespace {

// Regression: a character shape id of 0xFFFFFFFF equalled the "no run yet" marker, so the
// first text had no run to go into.
TEST(Hwp5Reader, CharacterShapeIdOfAllOnes) {
    Bytes header =
        test::Writer().u32(5 | 0x80000000u).u32(0).u16(0).u8(0).u8(0).u16(2).zeros(10).bytes;
    Bytes shapes = test::Writer().u32(0).u32(0xFFFFFFFF).u32(2).u32(0).bytes;
    Bytes section = test::join({test::record(66, 0, header),
                                test::record(67, 1, test::Writer().utf16(u"abcd\r").bytes),
                                test::record(68, 1, shapes)});
    Document doc = read(test::hwpDocument({section}));
    const auto& p = std::get<docs::Paragraph>(doc.sections.at(0).blocks.at(0).content);
    ASSERT_EQ(p.runs.size(), 2u);
    EXPECT_EQ(std::get<Text>(p.runs[0].content.at(0)).text, "ab");
    EXPECT_EQ(std::get<Text>(p.runs[1].content.at(0)).text, "cd");
}

}  // namespace
}  // namespace tavrino::docs::hwp5

namespace tavrino::docs::hwp5 {
namespace {

Bytes control(std::uint16_t level, std::uint32_t id, const Bytes& rest) {
    return test::record(71, level, test::join({test::Writer().u32(id).bytes, rest}));
}

Bytes list(std::uint16_t level, const std::u16string& text) {
    return test::join({test::record(72, level, test::Writer().u16(1).u16(0).u32(0).bytes),
                       paragraph(level, text, true)});
}

TEST(Hwp5Reader, HyperlinkFieldNoteAndHeader) {
    std::u16string fieldEnd(8, u'\0');
    fieldEnd[0] = fieldEnd[7] = 4;
    std::u16string text = test::extendedChar(16, "head") + u"본문" + test::extendedChar(3, "%hlk") +
                          u"링크" + fieldEnd + test::extendedChar(17, "fn  ");
    Bytes hyperlink =
        test::Writer().u32(0).u8(0).bstr(u"https\\://example.com/a;1;0;0;").u32(7).bytes;
    Bytes children = test::join({
        control(1, ctrlId("head"), test::Writer().u32(2).bytes),
        list(2, u"머리말"),
        control(1, ctrlId("%hlk"), hyperlink),
        control(1, ctrlId("fn  "), test::Writer().u32(1).bytes),
        list(2, u"각주 내용"),
    });
    Document doc = read(test::hwpDocument({paragraph(0, text, true, children)}));
    const Section& s = doc.sections.at(0);
    ASSERT_EQ(s.headers.size(), 1u);
    EXPECT_EQ(s.headers[0].side, PageSide::odd);
    EXPECT_EQ(textOf(std::get<docs::Paragraph>(s.headers[0].blocks.at(0).content)), "머리말");

    const auto& runs = paragraphAt(s, 0).runs;
    ASSERT_EQ(runs.size(), 1u);
    const auto& items = runs[0].content;
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(std::get<Text>(items[0]).text, "본문");
    const auto& link = std::get<FieldStart>(items[1]);
    EXPECT_EQ(link.kind, FieldKind::hyperlink);
    EXPECT_EQ(link.target, "https://example.com/a");
    EXPECT_EQ(std::get<Text>(items[2]).text, "링크");
    EXPECT_TRUE(std::holds_alternative<FieldEnd>(items[3]));
    const auto& note = std::get<docs::Note>(items[4]);
    EXPECT_EQ(note.kind, NoteKind::footnote);
    EXPECT_EQ(textOf(std::get<docs::Paragraph>(note.blocks.at(0).content)), "각주 내용");
}

TEST(Hwp5Reader, UnknownRecordsAndControlsAreSkippedWhole) {
    // An unknown record with children of its own, and an unknown control holding a list:
    // neither may leak text into the paragraph nor stop the ones after it.
    std::u16string text = u"앞" + test::extendedChar(21, "zzzz") + u"뒤";
    Bytes children = test::join({
        test::record(500, 1, {1, 2, 3}),
        test::record(66, 2, Bytes(24, 0)),
        control(1, ctrlId("zzzz"), {}),
        list(2, u"숨은 글"),
    });
    Document doc = read(test::hwpDocument(
        {test::join({paragraph(0, text, false, children), paragraph(0, u"다음", true)})}));
    const Section& s = doc.sections.at(0);
    ASSERT_EQ(s.blocks.size(), 2u);
    EXPECT_EQ(textOf(paragraphAt(s, 0)), "앞뒤");
    EXPECT_EQ(textOf(paragraphAt(s, 1)), "다음");
    EXPECT_EQ(doc.dropped.counts.at("control"), 1);
}

}  // namespace
}  // namespace tavrino::docs::hwp5

namespace tavrino::docs::hwp5 {
namespace {

TEST(Hwp5Reader, ParagraphShapeWithTabStops) {
    // TAB_DEF: two stops, a right-aligned one with a dotted leader.
    Bytes tabs = test::Writer()
                     .u32(0)
                     .u32(2)
                     .u32(4000)
                     .u8(0)
                     .u8(0)
                     .u16(0)
                     .u32(30000)
                     .u8(1)
                     .u8(3)
                     .u16(0)
                     .bytes;
    // PARA_SHAPE: centred; margins, indent and spacing stored at twice their value.
    Bytes shape = test::Writer()
                      .u32(3u << 2)
                      .u32(2000)
                      .u32(1000)
                      .u32(static_cast<std::uint32_t>(-600))
                      .u32(400)
                      .u32(200)
                      .u32(160)
                      .u16(0)
                      .u16(0)
                      .u16(0)
                      .zeros(8)
                      .bytes;
    Bytes docInfo =
        test::join({test::minimalDocInfo(), test::record(22, 1, tabs), test::record(25, 1, shape)});
    Document doc = read(test::hwpDocument({paragraph(0, u"가", true)}, 0, docInfo));
    const ParaProps& props = paragraphAt(doc.sections.at(0), 0).props;
    EXPECT_EQ(props.alignment, Alignment::center);
    EXPECT_EQ(props.indentLeft, 1000);
    EXPECT_EQ(props.indentRight, 500);
    EXPECT_EQ(props.firstLine, -300);
    EXPECT_EQ(props.spaceBefore, 200);
    EXPECT_EQ(props.spaceAfter, 100);
    EXPECT_EQ(props.lineSpacing.value, 160);
    ASSERT_EQ(props.tabStops.size(), 2u);
    EXPECT_EQ(props.tabStops[1].position, 30000);
    EXPECT_EQ(props.tabStops[1].align, TabAlign::right);
    EXPECT_EQ(props.tabStops[1].leader, TabLeader::dot);
}

// The word processor's own 54-byte shapes keep the line spacing in the old field and leave the
// newer type and value zero; a zero there is not a spacing of 0 %.
TEST(Hwp5Reader, ParagraphShapesWithEmptyNewLineSpacingKeepTheOldOne) {
    auto shapeWith = [](std::uint32_t newType, std::uint32_t newSpacing) {
        return test::Writer()
            .u32(1u << 2)
            .zeros(20)
            .u32(130)
            .u16(0)
            .u16(0)
            .u16(0)
            .zeros(8)
            .u32(0)
            .u32(newType)
            .u32(newSpacing)
            .bytes;
    };
    for (const auto& [type, spacing, rule, value] :
         {std::tuple{0u, 0u, LineSpacingRule::percent, 130},
          std::tuple{1u, 2400u, LineSpacingRule::exact, 2400}}) {
        Bytes docInfo =
            test::join({test::minimalDocInfo(), test::record(25, 1, shapeWith(type, spacing))});
        Document doc = read(test::hwpDocument({paragraph(0, u"가", true)}, 0, docInfo));
        const ParaProps& props = paragraphAt(doc.sections.at(0), 0).props;
        EXPECT_EQ(props.lineSpacing.rule, rule);
        EXPECT_EQ(props.lineSpacing.value, value);
    }
}

}  // namespace
}  // namespace tavrino::docs::hwp5
