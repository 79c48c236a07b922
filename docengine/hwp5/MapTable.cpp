// A TABLE control as a model table: cells placed in their rows by grid address, column widths
// taken from the cells that span a single column.

#include <algorithm>

#include "hwp5/Hwp5Error.h"
#include "hwp5/ModelBuilder.h"

namespace tavrino::docs::hwp5 {
namespace {

VerticalAlign verticalAlign(int hwp) {
    switch (hwp) {
        case 1:
            return VerticalAlign::center;
        case 2:
            return VerticalAlign::bottom;
        default:
            return VerticalAlign::top;
    }
}

void checkPlacement(const hwp5::Cell& c, const hwp5::Table& t) {
    bool inside = c.row < t.rows && c.column < t.columns && c.rowSpan >= 1 && c.columnSpan >= 1 &&
                  c.row + c.rowSpan <= t.rows && c.column + c.columnSpan <= t.columns;
    if (!inside)
        throw Hwp5Error("표 칸의 위치가 표 밖임 (" + std::to_string(c.row + 1) + "행 " +
                        std::to_string(c.column + 1) + "열)");
}

}  // namespace

docs::Table ModelBuilder::table(const hwp5::Table& t) {
    docs::Table out;
    out.columnCount = t.columns;
    out.rows.resize(t.rows);
    out.borders = borders(t.borderFillId);
    std::vector<std::int32_t> widths(t.columns, 0);
    for (const hwp5::Cell& c : t.cells) {
        checkPlacement(c, t);
        TableCell cell;
        cell.column = c.column;
        cell.row = c.row;
        cell.columnSpan = c.columnSpan;
        cell.rowSpan = c.rowSpan;
        cell.width = c.width;
        cell.height = c.height;
        cell.borders = borders(c.borderFillId);
        cell.fill = fill(c.borderFillId);
        if (hasImageFill(c.borderFillId)) doc_.dropped.add("fillImage");
        cell.verticalAlign = verticalAlign(c.verticalAlign);
        cell.blocks = blocks(c.paragraphs);
        if (c.columnSpan == 1 && widths[c.column] == 0) widths[c.column] = c.width;
        TableRow& row = out.rows[c.row];
        if (c.rowSpan == 1) row.height = std::max(row.height, c.height);
        row.cells.push_back(std::move(cell));
    }
    for (TableRow& row : out.rows)
        std::stable_sort(
            row.cells.begin(), row.cells.end(),
            [](const TableCell& a, const TableCell& b) { return a.column < b.column; });
    if (t.repeatHeader && !out.rows.empty()) out.rows[0].isHeader = true;
    if (std::none_of(widths.begin(), widths.end(), [](std::int32_t w) { return w == 0; }))
        out.columnWidths = std::move(widths);
    return out;
}

}  // namespace tavrino::docs::hwp5
