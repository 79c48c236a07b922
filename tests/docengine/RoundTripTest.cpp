// Round trips over the corpus: DOCX -> HWPX -> DOCX and HWPX -> DOCX -> HWPX must keep the
// text, the paragraph count and the shape of every table.
#include <iostream>

#include "Corpus.h"
#include "io/DocumentIO.h"
#include "io/Files.h"

namespace tavrino::docs::test {
namespace {

struct Outcome {
    int files = 0;
    int exact = 0;
    std::vector<std::string> differing;
};

// Reads each file, converts it to `via` and back, and compares what must survive. The
// first reading is compared with the last, so what the readers cannot carry at all does not
// count against the writers.
Outcome roundTrips(const std::string& kind, DocumentFormat source, DocumentFormat via) {
    Outcome outcome;
    for (const auto& file : corpusFiles(kind)) {
        const Document original = readDocument(file);
        const Document there = readDocumentBytes(documentBytes(original, via));
        const Document back = readDocumentBytes(documentBytes(there, source));
        ++outcome.files;
        const Fingerprint expected = fingerprint(original);
        const Fingerprint through = fingerprint(there);
        const Fingerprint returned = fingerprint(back);
        if (through == expected && returned == expected) {
            ++outcome.exact;
            continue;
        }
        const Fingerprint& bad = through == expected ? returned : through;
        const char* what = bad.text != expected.text               ? "text"
                           : bad.paragraphs != expected.paragraphs ? "paragraphs"
                                                                   : "tables";
        outcome.differing.push_back(file.filename().string() + " (" + what +
                                    (through == expected ? " on the way back)" : ")"));
    }
    return outcome;
}

void report(const char* name, const Outcome& outcome) {
    std::cout << name << ": " << outcome.exact << " of " << outcome.files << " exact";
    for (const auto& file : outcome.differing)
        std::cout << " | " << file;
    std::cout << std::endl;
}

TEST(RoundTrip, DocxThroughHwpxKeepsTextParagraphsAndTables) {
    const Outcome outcome = roundTrips("docx", DocumentFormat::docx, DocumentFormat::hwpx);
    if (outcome.files == 0) GTEST_SKIP() << "corpus not found at " << TAVRINO_CORPUS_DIR;
    report("DOCX -> HWPX -> DOCX", outcome);
    // OWPML running heads apply to both, even or odd pages; a Word first-page-only header
    // has no counterpart, so that one file loses its first-page header and footer text.
    const std::vector<std::string> knownLosses{"doc-add-section.docx (text)"};
    EXPECT_EQ(outcome.differing, knownLosses);
}

TEST(RoundTrip, HwpxThroughDocxKeepsTextParagraphsAndTables) {
    const Outcome outcome = roundTrips("hwpx", DocumentFormat::hwpx, DocumentFormat::docx);
    if (outcome.files == 0) GTEST_SKIP() << "corpus not found at " << TAVRINO_CORPUS_DIR;
    report("HWPX -> DOCX -> HWPX", outcome);
    EXPECT_EQ(outcome.exact, outcome.files);
}

// The binary Korean format as the stop in between: every corpus file that the other round
// trips keep must survive it too.
TEST(RoundTrip, DocxThroughHwpKeepsTextParagraphsAndTables) {
    const Outcome outcome = roundTrips("docx", DocumentFormat::docx, DocumentFormat::hwp);
    if (outcome.files == 0) GTEST_SKIP() << "corpus not found at " << TAVRINO_CORPUS_DIR;
    report("DOCX -> HWP -> DOCX", outcome);
    // As in HWPX, running heads apply to both, even or odd pages only.
    const std::vector<std::string> knownLosses{"doc-add-section.docx (text)"};
    EXPECT_EQ(outcome.differing, knownLosses);
}

TEST(RoundTrip, HwpxThroughHwpKeepsTextParagraphsAndTables) {
    const Outcome outcome = roundTrips("hwpx", DocumentFormat::hwpx, DocumentFormat::hwp);
    if (outcome.files == 0) GTEST_SKIP() << "corpus not found at " << TAVRINO_CORPUS_DIR;
    report("HWPX -> HWP -> HWPX", outcome);
    EXPECT_EQ(outcome.differing, std::vector<std::string>{});
}

TEST(RoundTrip, HwpThroughHwpKeepsTextParagraphsAndTables) {
    const Outcome outcome = roundTrips("hwp", DocumentFormat::hwp, DocumentFormat::hwp);
    if (outcome.files == 0) GTEST_SKIP() << "corpus not found at " << TAVRINO_CORPUS_DIR;
    report("HWP -> HWP -> HWP", outcome);
    EXPECT_EQ(outcome.differing, std::vector<std::string>{});
}

}  // namespace
}  // namespace tavrino::docs::test
