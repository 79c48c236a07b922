#include <gtest/gtest.h>

#include "io/DocumentIO.h"
#include "text/ListLabels.h"
#include "text/TextExport.h"

namespace tavrino::docs {
namespace {

Paragraph para(std::vector<Inline> content, ListInfo list = {}) {
    Paragraph paragraph;
    paragraph.props.list = list;
    paragraph.runs.push_back(TextRun{{}, std::move(content)});
    return paragraph;
}

ListInfo numbered(int level, NumberFormat format = NumberFormat::decimal,
                  std::string pattern = {}) {
    ListInfo list;
    list.kind = ListKind::numbered;
    list.listId = 7;
    list.level = level;
    list.format = format;
    list.pattern = std::move(pattern);
    return list;
}

TEST(TextExport, ReadingOrderTablesAndSections) {
    Table table;
    table.columnCount = 2;
    TableCell a, b, c;
    a.blocks = {Block{para({Text{"a"}})}};
    b.column = 1;
    b.blocks = {Block{para({Text{"b"}})}, Block{para({Text{"b2"}})}};
    c.row = 1;
    c.columnSpan = 2;
    c.blocks = {Block{para({Text{"c"}})}};
    table.rows = {TableRow{{a, b}}, TableRow{{c}}};
    Document document;
    document.sections.resize(2);
    document.sections[0].blocks = {
        Block{para({Text{"x"}, Tab{}, Text{"y"}, Break{BreakKind::line}, Text{"z"}})},
        Block{table}};
    document.sections[1].blocks = {Block{para({Break{BreakKind::page}, Text{"after break"}})}};
    document.sections[1].headers = {HeaderFooter{PageSide::both, {Block{para({Text{"head"}})}}}};
    EXPECT_EQ(documentText(document), "x\ty\nz\na\nb\nb2\nc\n\nafter break\n");
    TextOptions heads;
    heads.headersAndFooters = true;
    EXPECT_EQ(sectionTexts(document, heads)[1], "head\nafter break\n");
}

TEST(TextExport, ListNumbersCountPerLevelAndRunAcrossSections) {
    Document document;
    document.sections.resize(2);
    document.sections[0].blocks = {
        Block{para({Text{"one"}}, numbered(0))},
        Block{para({Text{"sub"}}, numbered(1, NumberFormat::ganada, "%2)"))},
        Block{para({Text{"sub"}}, numbered(1, NumberFormat::ganada, "%2)"))}};
    document.sections[1].blocks = {
        Block{para({Text{"two"}}, numbered(0, NumberFormat::decimal, "%1."))},
        Block{para({Text{"sub"}}, numbered(1, NumberFormat::ganada, "%1.%2"))}};
    EXPECT_EQ(documentText(document), "1. one\n가) sub\n나) sub\n\n2. two\n2.가 sub\n");
    TextOptions plain;
    plain.listLabels = false;
    EXPECT_EQ(sectionTexts(document, plain)[1], "two\nsub\n");
}

TEST(TextExport, NumberFormats) {
    EXPECT_EQ(formatNumber(14, NumberFormat::ganada), "하");
    EXPECT_EQ(formatNumber(15, NumberFormat::ganada), "가");  // the sequence starts again
    EXPECT_EQ(formatNumber(3, NumberFormat::chosung), "ㄷ");
    EXPECT_EQ(formatNumber(1994, NumberFormat::upperRoman), "MCMXCIV");
    EXPECT_EQ(formatNumber(4, NumberFormat::lowerRoman), "iv");
    EXPECT_EQ(formatNumber(28, NumberFormat::lowerLetter), "bb");
    EXPECT_EQ(formatNumber(2, NumberFormat::circled), "②");
    EXPECT_EQ(formatNumber(0, NumberFormat::ganada), "0");
}

// Merged cells survive both writers: spans and addresses, with covered cells omitted.
TEST(Writers, MergedCellsKeepTheirSpans) {
    Table table;
    table.columnCount = 3;
    auto cell = [](int row, int column, int rowSpan, int columnSpan, std::string text) {
        TableCell c;
        c.row = row;
        c.column = column;
        c.rowSpan = rowSpan;
        c.columnSpan = columnSpan;
        c.blocks = {Block{para({Text{std::move(text)}})}};
        return c;
    };
    table.rows = {TableRow{{cell(0, 0, 2, 2, "big"), cell(0, 2, 1, 1, "r")}},
                  TableRow{{cell(1, 2, 1, 1, "s")}}, TableRow{{cell(2, 1, 1, 2, "tail")}}};
    Document document;
    document.sections.resize(1);
    document.sections[0].blocks = {Block{table}};
    for (const DocumentFormat format : {DocumentFormat::docx, DocumentFormat::hwpx}) {
        const Document back = readDocumentBytes(documentBytes(document, format));
        ASSERT_EQ(back.sections.size(), 1u);
        ASSERT_EQ(back.sections[0].blocks.size(), 1u);
        const auto& read = std::get<Table>(back.sections[0].blocks[0].content);
        ASSERT_EQ(read.rows.size(), 3u);
        for (size_t r = 0; r < 3; ++r) {
            ASSERT_EQ(read.rows[r].cells.size(), table.rows[r].cells.size()) << int(format) << r;
            for (size_t c = 0; c < read.rows[r].cells.size(); ++c) {
                const TableCell& got = read.rows[r].cells[c];
                const TableCell& want = table.rows[r].cells[c];
                EXPECT_EQ(std::tie(got.row, got.column, got.rowSpan, got.columnSpan),
                          std::tie(want.row, want.column, want.rowSpan, want.columnSpan));
            }
        }
        EXPECT_EQ(documentText(back), "big\nr\ns\ntail\n");
    }
}

TEST(Writers, PageSetupSurvivesBothFormats) {
    Document document;
    document.sections.resize(1);
    PageSetup& page = document.sections[0].page;
    page.width = 84190;  // A4 landscape, widths in whole twips
    page.height = 59530;
    page.landscape = true;
    page.marginLeft = page.marginRight = 8500;  // DOCX keeps whole twips (5 HWPUNIT)
    page.marginTop = 2000;
    page.header = 3000;
    page.marginBottom = 1000;
    page.footer = 2500;
    document.sections[0].columns = Columns{2, 1000};
    for (const DocumentFormat format :
         {DocumentFormat::docx, DocumentFormat::hwpx, DocumentFormat::hwp}) {
        const Document back = readDocumentBytes(documentBytes(document, format));
        EXPECT_EQ(back.sections[0].page, page) << int(format);
        EXPECT_EQ(back.sections[0].columns, document.sections[0].columns) << int(format);
    }
}

// The preview keeps whole characters: a cut through one drops that one and nothing else.
TEST(PreviewText, CutsAtCharacterBoundariesWithCrLfLineEnds) {
    Document document;
    document.sections.resize(1);
    for (const char* text : {"가나", "다"}) {
        Paragraph paragraph;
        paragraph.runs.push_back(TextRun{{}, {Text{text}}});
        document.sections[0].blocks.push_back(Block{paragraph});
    }
    EXPECT_EQ(previewText(document), "가나\r\n다\r\n");
    EXPECT_EQ(previewText(document, 6), "가나");
    EXPECT_EQ(previewText(document, 5), "가");
    EXPECT_EQ(previewText(document, 2), "");
}

}  // namespace
}  // namespace tavrino::docs
