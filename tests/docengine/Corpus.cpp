#include "Corpus.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>

#include "model/Walk.h"
#include "text/TextExport.h"

namespace tavrino::docs::test {

std::vector<std::filesystem::path> corpusFiles(const std::string& kind) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(
             std::filesystem::path(TAVRINO_CORPUS_DIR) / kind, error)) {
        if (entry.path().extension() == "." + kind) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

Fingerprint fingerprint(const Document& document) {
    Fingerprint print;
    TextOptions options;
    options.headersAndFooters = true;
    // Section by section, without the boundaries between them: a writer may join sections
    // that continue on the same page, and that is no change of text.
    for (const std::string& text : sectionTexts(document, options))
        print.text += text;
    print.paragraphs = statistics(document).paragraphs;
    Visitor visitor;
    visitor.table = [&print](const Table& table) {
        std::string shape = std::to_string(table.rows.size()) + " rows:";
        for (size_t r = 0; r < table.rows.size(); ++r) {
            for (const TableCell& cell : table.rows[r].cells) {
                shape += " (" + std::to_string(r) + "," + std::to_string(cell.column) + "," +
                         std::to_string(cell.rowSpan) + "," + std::to_string(cell.columnSpan) + ")";
            }
        }
        print.tables.push_back(shape);
    };
    for (const Section& section : document.sections)
        walk(section, visitor);
    return print;
}

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("tavrino-docs-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace tavrino::docs::test
