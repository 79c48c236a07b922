// Every text run of every corpus HWPX section must reach pelgrin's text export. The runs
// are collected straight from the section XML with pugixml, not through our reader.
#include <zip.h>
#include <pugixml.hpp>

#include "Corpus.h"
#include "io/DocumentIO.h"
#include "io/Files.h"
#include "text/TextExport.h"

namespace tavrino::docs::test {
namespace {

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The pcdata pieces of every hp:t in the package's section parts.
std::vector<std::string> sectionRuns(const std::string& bytes) {
    std::vector<std::string> runs;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!archive) return runs;
    for (int n = 0;; ++n) {
        const std::string name = "Contents/section" + std::to_string(n) + ".xml";
        zip_stat_t stat;
        if (zip_stat(archive, name.c_str(), 0, &stat) != 0) break;
        std::string xml(stat.size, '\0');
        zip_file_t* file = zip_fopen(archive, name.c_str(), 0);
        zip_fread(file, xml.data(), stat.size);
        zip_fclose(file);
        pugi::xml_document document;
        document.load_buffer(xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata);
        for (const auto& t : document.select_nodes("//*[local-name()='t']")) {
            for (const auto& child : t.node().children()) {
                if (child.type() == pugi::node_pcdata) runs.push_back(child.value());
            }
        }
    }
    zip_discard(archive);
    return runs;
}

TEST(HwpxText, ExportHoldsEveryTextRunOfTheSections) {
    const auto files = corpusFiles("hwpx");
    if (files.empty()) GTEST_SKIP() << "corpus not found at " << TAVRINO_CORPUS_DIR;
    TextOptions options;
    options.headersAndFooters = true;  // pelgrin's export-text settings
    int checked = 0;
    for (const auto& file : files) {
        const std::string bytes = readFileBytes(file);
        std::string text;
        for (const auto& section : sectionTexts(readDocumentBytes(bytes), options))
            text += section;
        for (const auto& run : sectionRuns(bytes)) {
            const std::string piece = trimmed(run);
            if (piece.empty()) continue;
            ++checked;
            EXPECT_NE(text.find(piece), std::string::npos) << file.filename() << ": " << piece;
        }
    }
    EXPECT_GT(checked, 100);
}

}  // namespace
}  // namespace tavrino::docs::test
