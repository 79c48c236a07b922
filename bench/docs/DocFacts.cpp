// doc_facts FILE: one line "WIDTH HEIGHT CACHED" for a document: the first section's sheet in
// points, and for HWP 5 files the number of pages the word processor laid out when it last
// saved (the line segments flagged as the first line of a page; "?" after it when a section
// had no such flag), "-" for other formats.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "hwp5/CompoundFile.h"
#include "hwp5/FileHeader.h"
#include "hwp5/Hwp5File.h"
#include "hwp5/Record.h"
#include "io/DocumentIO.h"

namespace {

using namespace tavrino::docs;

// Each line segment is 36 bytes; its flags are the last four, bit 0 "first line of a page".
// Only the body's own paragraphs count (level 1 is the line segments of a level-0 paragraph):
// cells, headers and text boxes have line segments of their own that start no page.
int cachedPages(const std::filesystem::path& path, bool* guessed) {
    const auto file = hwp5::CompoundFile::openFile(path.string());
    const auto header = hwp5::parseFileHeader(*file.read("FileHeader"));
    const std::string storage = header.distribution() ? "ViewText/Section" : "BodyText/Section";
    int pages = 0;
    for (int n = 0; file.hasStream(storage + std::to_string(n)); ++n) {
        const auto stream = hwp5::decodeBodyStream(*file.read(storage + std::to_string(n)), header,
                                                   header.distribution());
        int inSection = 0;
        for (const hwp5::Record& record : hwp5::parseRecords(stream)) {
            if (record.tag != hwp5::tag::kParaLineSeg || record.level != 1) continue;
            for (std::size_t at = 0; at + 36 <= record.payload.size(); at += 36) {
                const auto* flags = record.payload.data() + at + 32;
                const std::uint32_t value = flags[0] | flags[1] << 8 | flags[2] << 16 |
                                            static_cast<std::uint32_t>(flags[3]) << 24;
                if (value & 1u) ++inSection;
            }
        }
        // Writers other than the word processor (hwplib, ours) leave the flags clear; such a
        // section is taken as one page and the count marked as a guess.
        if (inSection == 0) *guessed = true;
        pages += inSection > 0 ? inSection : 1;
    }
    return pages;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: doc_facts FILE\n");
        return 2;
    }
    try {
        const std::filesystem::path path = argv[1];
        const LoadedDocument loaded = loadDocument(path);
        PageSetup page;
        if (!loaded.document.sections.empty()) page = loaded.document.sections.front().page;
        // HWPUNIT is 1/7200 inch, a hundredth of a point.
        std::printf("%.2f %.2f ", page.width / 100.0, page.height / 100.0);
        if (loaded.format == DocumentFormat::hwp) {
            bool guessed = false;
            const int pages = cachedPages(path, &guessed);
            std::printf("%d%s\n", pages, guessed ? "?" : "");
        } else {
            std::printf("-\n");
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
