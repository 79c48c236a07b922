#include "text/TextExport.h"

namespace tavrino::docs {
namespace {

void appendBlocks(const std::vector<Block>& blocks, const TextOptions& options,
                  std::string& out);

void appendLine(std::string line, std::string& out) {
    out += line;
    out += '\n';
}

// A paragraph's own text on one line, then the text of the shapes and notes it carries.
void appendParagraph(const Paragraph& paragraph, const TextOptions& options, std::string& out) {
    std::string line;
    std::vector<const std::vector<Block>*> nested;
    for (const TextRun& run : paragraph.runs) {
        for (const Inline& item : run.content) {
            if (const auto* text = std::get_if<Text>(&item)) line += text->text;
            else if (std::holds_alternative<Tab>(item)) line += '\t';
            else if (const auto* brk = std::get_if<Break>(&item)) {
                // Page and column breaks move text, they do not add a line of their own.
                if (brk->kind == BreakKind::line) line += '\n';
            }
            else if (const auto* shape = std::get_if<Shape>(&item)) {
                if (options.shapes) nested.push_back(&shape->blocks);
                if (options.shapes) nested.push_back(&shape->caption);
            } else if (const auto* picture = std::get_if<Picture>(&item)) {
                nested.push_back(&picture->caption);
            } else if (const auto* note = std::get_if<Note>(&item)) {
                if (options.notes) nested.push_back(&note->blocks);
            }
        }
    }
    appendLine(std::move(line), out);
    for (const auto* blocks : nested) appendBlocks(*blocks, options, out);
}

void appendBlocks(const std::vector<Block>& blocks, const TextOptions& options,
                  std::string& out) {
    for (const Block& block : blocks) {
        if (const auto* paragraph = std::get_if<Paragraph>(&block.content)) {
            appendParagraph(*paragraph, options, out);
            continue;
        }
        const Table& table = std::get<Table>(block.content);
        for (const TableRow& row : table.rows) {
            for (const TableCell& cell : row.cells) appendBlocks(cell.blocks, options, out);
        }
        appendBlocks(table.caption, options, out);
    }
}

}  // namespace

std::string sectionText(const Section& section, const TextOptions& options) {
    std::string out;
    if (options.headersAndFooters) {
        for (const auto& header : section.headers) appendBlocks(header.blocks, options, out);
    }
    appendBlocks(section.blocks, options, out);
    if (options.headersAndFooters) {
        for (const auto& footer : section.footers) appendBlocks(footer.blocks, options, out);
    }
    return out;
}

std::string documentText(const Document& document, const TextOptions& options) {
    std::string out;
    for (size_t i = 0; i < document.sections.size(); ++i) {
        if (i > 0) out += '\n';
        out += sectionText(document.sections[i], options);
    }
    return out;
}

}  // namespace tavrino::docs
