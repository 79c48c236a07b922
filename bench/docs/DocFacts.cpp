// doc_facts FILE: one line "WIDTH HEIGHT CACHED" for a document: the first section's sheet in
// points, and for HWP 5 files the number of pages the word processor laid out when it last
// saved (its line segments' cache: "~" after the count when a section's pages were read from
// the lines' positions rather than their page flags), "-" for other formats.
// doc_facts --floating FILE: the text of every floating text box or shape (not those inside
// another one), as the document's plain text gives it, each followed by a line of one form feed.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "hwp5/CompoundFile.h"
#include "hwp5/FileHeader.h"
#include "hwp5/Hwp5File.h"
#include "hwp5/Record.h"
#include "io/DocumentIO.h"
#include "text/TextExport.h"

namespace {

using namespace tavrino::docs;

std::int32_t i32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(p[0] | p[1] << 8 | p[2] << 16 |
                                     static_cast<std::uint32_t>(p[3]) << 24);
}

// Each line segment is 36 bytes: its vertical position on the page at 4, its flags at 32 (bit 0
// "first line of a page"). Only the body's own paragraphs count (level 1 holds the line
// segments of a level-0 paragraph): cells, headers and text boxes have their own, which start
// no page. Many files leave the flags clear; their pages show where the position goes back up
// the page instead (in a section of several columns that also counts new columns, so such
// counts are marked as read from positions).
int cachedPages(const std::filesystem::path& path, bool* fromPositions) {
    const auto file = hwp5::CompoundFile::openFile(path.string());
    const auto header = hwp5::parseFileHeader(*file.read("FileHeader"));
    const std::string storage = header.distribution() ? "ViewText/Section" : "BodyText/Section";
    int pages = 0;
    for (int n = 0; file.hasStream(storage + std::to_string(n)); ++n) {
        const auto stream = hwp5::decodeBodyStream(*file.read(storage + std::to_string(n)), header,
                                                   header.distribution());
        int flagged = 0;
        int rises = 0;
        std::optional<std::int32_t> previous;
        for (const hwp5::Record& record : hwp5::parseRecords(stream)) {
            if (record.tag != hwp5::tag::kParaLineSeg || record.level != 1) continue;
            for (std::size_t at = 0; at + 36 <= record.payload.size(); at += 36) {
                const std::uint8_t* segment = record.payload.data() + at;
                if (i32(segment + 32) & 1) ++flagged;
                const std::int32_t y = i32(segment + 4);
                if (previous && y < *previous) ++rises;
                previous = y;
            }
        }
        if (flagged == 0) *fromPositions = true;
        pages += flagged > 0 ? flagged : 1 + rises;  // a section always starts a page
    }
    return pages;
}

void collectFloating(const std::vector<Block>& blocks, std::vector<const Shape*>& found);

void collectFloating(const Paragraph& paragraph, std::vector<const Shape*>& found) {
    for (const TextRun& run : paragraph.runs) {
        for (const Inline& item : run.content) {
            if (const auto* shape = std::get_if<Shape>(&item)) {
                if (shape->inlineWithText)
                    collectFloating(shape->blocks, found);
                else if (!shape->blocks.empty())
                    found.push_back(shape);
            } else if (const auto* note = std::get_if<Note>(&item)) {
                collectFloating(note->blocks, found);
            }
        }
    }
}

void collectFloating(const std::vector<Block>& blocks, std::vector<const Shape*>& found) {
    for (const Block& block : blocks) {
        if (const auto* paragraph = std::get_if<Paragraph>(&block.content)) {
            collectFloating(*paragraph, found);
        } else {
            for (const TableRow& row : std::get<Table>(block.content).rows)
                for (const TableCell& cell : row.cells)
                    collectFloating(cell.blocks, found);
        }
    }
}

// Each box's text through the same plain-text export as the whole document's, from a copy of
// the document (its styles and lists) holding only the box's paragraphs.
void printFloating(const Document& document) {
    std::vector<const Shape*> shapes;
    for (const Section& section : document.sections)
        collectFloating(section.blocks, shapes);
    for (const Shape* shape : shapes) {
        Document alone = document;
        alone.sections.resize(1);
        alone.sections.front().blocks = shape->blocks;
        std::printf("%s\n\f\n", documentText(alone).c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool floating = argc == 3 && std::string(argv[1]) == "--floating";
    if (argc != 2 && !floating) {
        std::fprintf(stderr, "usage: doc_facts [--floating] FILE\n");
        return 2;
    }
    try {
        const std::filesystem::path path = argv[argc - 1];
        const LoadedDocument loaded = loadDocument(path);
        if (floating) {
            printFloating(loaded.document);
            return 0;
        }
        PageSetup page;
        if (!loaded.document.sections.empty()) page = loaded.document.sections.front().page;
        // HWPUNIT is 1/7200 inch, a hundredth of a point.
        std::printf("%.2f %.2f ", page.width / 100.0, page.height / 100.0);
        if (loaded.format == DocumentFormat::hwp) {
            bool fromPositions = false;
            const int pages = cachedPages(path, &fromPositions);
            std::printf("%d%s\n", pages, fromPositions ? "~" : "");
        } else {
            std::printf("-\n");
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
