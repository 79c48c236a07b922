#include "Corpus.h"
#include "HwpxStructure.h"
#include "io/DocumentIO.h"
#include "io/Files.h"
#include "model/Walk.h"

namespace tavrino::docs::test {
namespace {

std::string describe(const std::vector<std::string>& problems) {
    std::string text;
    for (const auto& problem : problems)
        text += "\n  " + problem;
    return text;
}

// The checker must accept what the word processor itself wrote, or it proves nothing.
TEST(HwpxStructure, CorpusFilesPassTheChecker) {
    const auto files = corpusFiles("hwpx");
    if (files.empty()) GTEST_SKIP() << "corpus not found at " << TAVRINO_CORPUS_DIR;
    HwpxCheckOptions relaxed;
    relaxed.requireStoredMimetype = false;  // blank.hwpx comes from a library that deflates it
    for (const auto& file : files) {
        const auto problems = hwpxStructureProblems(readFileBytes(file), relaxed);
        EXPECT_TRUE(problems.empty()) << file.filename() << describe(problems);
    }
}

TEST(HwpxStructure, CheckerCatchesBrokenPackages) {
    const auto files = corpusFiles("hwpx");
    if (files.empty()) GTEST_SKIP() << "corpus not found";
    Document document = readDocument(files.front());
    std::string bytes = documentBytes(document, DocumentFormat::hwpx);
    EXPECT_TRUE(hwpxStructureProblems(bytes).empty());
    EXPECT_FALSE(hwpxStructureProblems(bytes.substr(0, bytes.size() / 2)).empty());
    EXPECT_FALSE(hwpxStructureProblems("PK\x03\x04 not really").empty());
}

TEST(HwpxWriter, EveryCorpusDocumentBecomesASoundPackage) {
    std::vector<std::filesystem::path> files = corpusFiles("hwpx");
    const auto docx = corpusFiles("docx");
    files.insert(files.end(), docx.begin(), docx.end());
    if (files.empty()) GTEST_SKIP() << "corpus not found";
    for (const auto& file : files) {
        const Document document = readDocument(file);
        const std::string bytes = documentBytes(document, DocumentFormat::hwpx);
        const auto problems = hwpxStructureProblems(bytes);
        EXPECT_TRUE(problems.empty()) << file.filename() << describe(problems);
        EXPECT_EQ(statistics(readDocumentBytes(bytes)).tables, statistics(document).tables)
            << file.filename();
    }
}

TEST(HwpxWriter, OutputIsByteForByteDeterministic) {
    const auto files = corpusFiles("hwpx");
    if (files.empty()) GTEST_SKIP() << "corpus not found";
    for (const char* name : {"SimplePicture.hwpx", "Table.hwpx"}) {
        const Document document =
            readDocument(std::filesystem::path(TAVRINO_CORPUS_DIR) / "hwpx" / name);
        EXPECT_EQ(documentBytes(document, DocumentFormat::hwpx),
                  documentBytes(document, DocumentFormat::hwpx));
        EXPECT_EQ(documentBytes(document, DocumentFormat::docx),
                  documentBytes(document, DocumentFormat::docx));
    }
}

TEST(HwpxWriter, PicturesTravelWithTheirBytes) {
    const auto path = std::filesystem::path(TAVRINO_CORPUS_DIR) / "hwpx" / "SimplePicture.hwpx";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "corpus not found";
    const Document original = readDocument(path);
    ASSERT_FALSE(original.media.empty());
    for (const DocumentFormat format : {DocumentFormat::hwpx, DocumentFormat::docx}) {
        const Document copy = readDocumentBytes(documentBytes(original, format));
        ASSERT_EQ(copy.media.size(), original.media.size());
        EXPECT_EQ(copy.media[0].data, original.media[0].data);
        EXPECT_EQ(statistics(copy).pictures, statistics(original).pictures);
    }
}

}  // namespace
}  // namespace tavrino::docs::test
