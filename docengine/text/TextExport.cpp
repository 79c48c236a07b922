#include "text/TextExport.h"

#include "text/ListLabels.h"

namespace tavrino::docs {
namespace {

struct Writer {
    const TextOptions& options;
    ListLabels labels;
    std::string out;
};

void appendBlocks(const std::vector<Block>& blocks, Writer& writer);

void appendLine(const std::string& line, std::string& out) {
    out += line;
    out += '\n';
}

// A paragraph's own text on one line, then the text of the shapes and notes it carries.
void appendParagraph(const Paragraph& paragraph, Writer& writer) {
    const TextOptions& options = writer.options;
    std::string line;
    if (options.listLabels) {
        const std::string label = writer.labels.next(paragraph.props.list);
        if (!label.empty()) line = label + " ";
    }
    std::vector<const std::vector<Block>*> nested;
    for (const TextRun& run : paragraph.runs) {
        for (const Inline& item : run.content) {
            if (const auto* text = std::get_if<Text>(&item))
                line += text->text;
            else if (std::holds_alternative<Tab>(item))
                line += '\t';
            else if (const auto* brk = std::get_if<Break>(&item)) {
                // Page and column breaks move text, they do not add a line of their own.
                if (brk->kind == BreakKind::line) line += '\n';
            } else if (const auto* shape = std::get_if<Shape>(&item)) {
                if (options.shapes) nested.push_back(&shape->blocks);
                if (options.shapes) nested.push_back(&shape->caption);
            } else if (const auto* picture = std::get_if<Picture>(&item)) {
                nested.push_back(&picture->caption);
            } else if (const auto* note = std::get_if<Note>(&item)) {
                if (options.notes) nested.push_back(&note->blocks);
            }
        }
    }
    appendLine(std::move(line), writer.out);
    for (const auto* blocks : nested)
        appendBlocks(*blocks, writer);
}

void appendBlocks(const std::vector<Block>& blocks, Writer& writer) {
    for (const Block& block : blocks) {
        if (const auto* paragraph = std::get_if<Paragraph>(&block.content)) {
            appendParagraph(*paragraph, writer);
            continue;
        }
        const Table& table = std::get<Table>(block.content);
        for (const TableRow& row : table.rows) {
            for (const TableCell& cell : row.cells)
                appendBlocks(cell.blocks, writer);
        }
        appendBlocks(table.caption, writer);
    }
}

void appendSection(const Section& section, Writer& writer) {
    if (writer.options.headersAndFooters) {
        for (const auto& header : section.headers)
            appendBlocks(header.blocks, writer);
    }
    appendBlocks(section.blocks, writer);
    if (writer.options.headersAndFooters) {
        for (const auto& footer : section.footers)
            appendBlocks(footer.blocks, writer);
    }
}

}  // namespace

// List numbers run on across sections, as they do on the page.
std::vector<std::string> sectionTexts(const Document& document, const TextOptions& options) {
    Writer writer{options, {}, {}};
    std::vector<std::string> texts;
    for (const Section& section : document.sections) {
        writer.out.clear();
        appendSection(section, writer);
        texts.push_back(writer.out);
    }
    return texts;
}

std::string documentText(const Document& document, const TextOptions& options) {
    std::string out;
    const auto texts = sectionTexts(document, options);
    for (size_t i = 0; i < texts.size(); ++i)
        out += (i > 0 ? "\n" : "") + texts[i];
    return out;
}

std::string previewText(const Document& document, std::size_t limit) {
    std::string text = documentText(document).substr(0, limit);
    // Drop a character the cut went through, and only that one.
    std::size_t lead = text.size();
    while (lead > 0 && (static_cast<unsigned char>(text[lead - 1]) & 0xC0) == 0x80)
        --lead;
    if (lead > 0) {
        const auto byte = static_cast<unsigned char>(text[lead - 1]);
        const std::size_t length = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
        if (text.size() - (lead - 1) < length) text.resize(lead - 1);
    }
    std::string out;
    for (const char c : text) {
        if (c == '\n')
            out += "\r\n";
        else
            out += c;
    }
    return out;
}

}  // namespace tavrino::docs
