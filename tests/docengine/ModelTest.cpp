#include <gtest/gtest.h>

#include "model/Walk.h"

namespace tavrino::docs {
namespace {

Block paragraph(std::string text) {
    Paragraph para;
    para.runs.push_back(TextRun{{}, {Text{std::move(text)}}});
    return Block{para};
}

Table oneCellTable(std::vector<Block> content) {
    Table table;
    table.columnCount = 1;
    TableCell cell;
    cell.blocks = std::move(content);
    table.rows.push_back(TableRow{{cell}});
    return table;
}

TEST(Model, StatisticsCountNestedContentOnce) {
    Shape box;
    box.blocks.push_back(paragraph("in a box"));
    Note note;
    note.blocks.push_back(paragraph("a footnote"));
    Paragraph carrier;
    carrier.runs.push_back(TextRun{{}, {Text{"body"}, box, note}});

    Section section;
    section.blocks.push_back(Block{carrier});
    section.blocks.push_back(Block{oneCellTable({Block{oneCellTable({paragraph("deep")})}})});
    section.headers.push_back(HeaderFooter{PageSide::both, {paragraph("head")}});
    Document document;
    document.sections.push_back(section);

    const DocumentStats stats = statistics(document);
    EXPECT_EQ(stats.paragraphs, 5);  // body, box, note, deep, head
    EXPECT_EQ(stats.tables, 2);
    EXPECT_EQ(stats.cells, 2);
    EXPECT_EQ(stats.shapes, 1);
    EXPECT_EQ(stats.notes, 1);
}

TEST(Model, ValuesCompareDeeplyAndCopyIndependently) {
    Document first;
    first.sections.push_back(Section{});
    first.sections[0].blocks.push_back(Block{oneCellTable({paragraph("x")})});
    Document second = first;
    EXPECT_EQ(first, second);
    auto& table = std::get<Table>(second.sections[0].blocks[0].content);
    std::get<Text>(std::get<Paragraph>(table.rows[0].cells[0].blocks[0].content).runs[0].content[0])
        .text = "y";
    EXPECT_NE(first, second);

    first.dropped.add("ole", 2);
    first.dropped.add("ole");
    first.dropped.add("chart");
    EXPECT_EQ(first.dropped.counts.at("ole"), 3);
    EXPECT_EQ(first.dropped.total(), 4);
}

}  // namespace
}  // namespace tavrino::docs
