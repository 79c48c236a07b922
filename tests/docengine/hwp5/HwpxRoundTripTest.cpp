// HWP read into the model, written as HWPX and read back: sections, text and table structure
// must survive. This is the check `pelgrin export-hwpx --verify-pages` makes, run here over the
// whole corpus with the tables compared as well.

#include <gtest/gtest.h>

#include "docengine/HwpxStructure.h"
#include "hwp5/Hwp5Reader.h"
#include "io/DocumentIO.h"
#include "io/Files.h"
#include "model/Walk.h"
#include "support/TestFiles.h"
#include "text/TextExport.h"

namespace tavrino::docs::hwp5 {
namespace {

// Rows, and cells per row, of every table in reading order.
std::vector<std::vector<int>> tableShapes(const Document& doc) {
    std::vector<std::vector<int>> shapes;
    Visitor v;
    v.table = [&](const docs::Table& t) {
        std::vector<int> cells;
        for (const auto& row : t.rows)
            cells.push_back(static_cast<int>(row.cells.size()));
        shapes.push_back(cells);
    };
    for (const Section& s : doc.sections)
        walk(s, v);
    return shapes;
}

TEST(Hwp5ToHwpx, CorpusIsSoundHwpxAndKeepsSectionsTextAndTables) {
    if (!tavrino::test::haveCorpus()) GTEST_SKIP() << "the shared corpus is missing";
    TextOptions options;
    options.headersAndFooters = true;
    int documents = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(tavrino::test::corpusDir() / "hwp")) {
        SCOPED_TRACE(entry.path().filename().string());
        Document source = readHwp5(readFileBytes(entry.path()));
        std::string hwpx = documentBytes(source, DocumentFormat::hwpx);
        for (const std::string& problem : docs::test::hwpxStructureProblems(hwpx))
            ADD_FAILURE() << "HWPX structure: " << problem;
        Document back = readDocumentBytes(hwpx);
        EXPECT_EQ(back.sections.size(), source.sections.size());
        EXPECT_EQ(documentText(back, options), documentText(source, options));
        EXPECT_EQ(tableShapes(back), tableShapes(source));
        EXPECT_EQ(statistics(back).pictures, statistics(source).pictures);
        ++documents;
    }
    EXPECT_EQ(documents, 18);
}

}  // namespace
}  // namespace tavrino::docs::hwp5
