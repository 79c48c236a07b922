#include "model/Walk.h"

namespace tavrino::docs {
namespace {

void walkInlines(const Paragraph& paragraph, const Visitor& visitor) {
    for (const TextRun& run : paragraph.runs) {
        for (const Inline& item : run.content) {
            if (const auto* shape = std::get_if<Shape>(&item)) {
                walk(shape->blocks, visitor);
                walk(shape->caption, visitor);
            }
            if (const auto* picture = std::get_if<Picture>(&item)) walk(picture->caption, visitor);
            if (const auto* note = std::get_if<Note>(&item)) walk(note->blocks, visitor);
        }
    }
}

}  // namespace

void walk(const std::vector<Block>& blocks, const Visitor& visitor) {
    for (const Block& block : blocks) {
        if (const auto* paragraph = std::get_if<Paragraph>(&block.content)) {
            if (visitor.paragraph) visitor.paragraph(*paragraph);
            walkInlines(*paragraph, visitor);
            continue;
        }
        const auto& table = std::get<Table>(block.content);
        if (visitor.table) visitor.table(table);
        for (const TableRow& row : table.rows) {
            for (const TableCell& cell : row.cells)
                walk(cell.blocks, visitor);
        }
        walk(table.caption, visitor);
    }
}

void walk(const Section& section, const Visitor& visitor) {
    for (const HeaderFooter& header : section.headers)
        walk(header.blocks, visitor);
    walk(section.blocks, visitor);
    for (const HeaderFooter& footer : section.footers)
        walk(footer.blocks, visitor);
}

DocumentStats statistics(const Document& document) {
    DocumentStats stats;
    Visitor visitor;
    visitor.paragraph = [&stats](const Paragraph& paragraph) {
        ++stats.paragraphs;
        for (const TextRun& run : paragraph.runs) {
            for (const Inline& item : run.content) {
                stats.pictures += std::holds_alternative<Picture>(item);
                stats.equations += std::holds_alternative<Equation>(item);
                stats.shapes += std::holds_alternative<Shape>(item);
                stats.notes += std::holds_alternative<Note>(item);
            }
        }
    };
    visitor.table = [&stats](const Table& table) {
        ++stats.tables;
        for (const TableRow& row : table.rows)
            stats.cells += static_cast<int>(row.cells.size());
    };
    for (const Section& section : document.sections)
        walk(section, visitor);
    return stats;
}

}  // namespace tavrino::docs
