// The bundled tools run as the application runs them: through the tool runner, with their
// exact command lines, judged by exit status, last line and the files they leave.
#include <fstream>

#include "Corpus.h"
#include "HwpxStructure.h"
#include "convert/ConvertError.h"
#include "documents/ToolRunner.h"
#include "io/DocumentIO.h"
#include "io/Files.h"
#include "text/TextExport.h"

namespace tavrino::docs::test {
namespace {

namespace fs = std::filesystem;

std::string tool(const char* name) {
    return (fs::path(TAVRINO_TOOLS_DIR) / name).string();
}

std::string failureOf(const char* name, const std::vector<std::string>& args) {
    try {
        runTool(tool(name), name, args);
    } catch (const ConvertError& error) {
        return error.what();
    }
    return "(no error)";
}

std::vector<std::string> names(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder))
        found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
}

fs::path corpus(const char* kind, const char* name) {
    return fs::path(TAVRINO_CORPUS_DIR) / kind / name;
}

class Tools : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!fs::exists(corpus("hwpx", "Table.hwpx")) || !fs::exists(corpus("docx", "test.docx"))) {
            GTEST_SKIP() << "corpus not found at " << TAVRINO_CORPUS_DIR;
        }
    }
    TempDir work;
};

TEST_F(Tools, PelgrinExportsOneTextFilePerSectionInNameOrder) {
    Document document;
    for (int n = 1; n <= 11; ++n) {
        Paragraph paragraph;
        paragraph.runs.push_back(TextRun{{}, {Text{"구역 " + std::to_string(n)}}});
        document.sections.push_back(Section{});
        document.sections.back().blocks.push_back(Block{paragraph});
    }
    const fs::path source = work.path() / "eleven.hwpx";
    writeDocument(document, source, DocumentFormat::hwpx);
    const fs::path out = work.path() / "text";
    runTool(tool("pelgrin"), "pelgrin", {"export-text", source.string(), "-o", out.string()});
    const auto files = names(out);  // ascending code-point order, as the caller reads them
    ASSERT_EQ(files.size(), 11u);
    for (size_t i = 0; i < files.size(); ++i) {
        std::ifstream in(out / files[i]);
        std::string line;
        std::getline(in, line);
        EXPECT_EQ(line, "구역 " + std::to_string(i + 1)) << files[i];
    }
    runTool(tool("pelgrin"), "pelgrin",
            {"export-text", corpus("hwpx", "Table.hwpx").string(), "-o", out.string()});
    EXPECT_NE(readFileBytes(out / "section-0001.txt").find("개똥이"), std::string::npos);
}

TEST_F(Tools, PelgrinRefusesWordDocumentsAndBadCommandLines) {
    EXPECT_EQ(failureOf("pelgrin", {"export-text", corpus("docx", "test.docx").string(), "-o",
                                    work.path().string()}),
              "pelgrin 실패(1): HWP/HWPX 문서가 아님: test.docx");
    EXPECT_EQ(failureOf("pelgrin", {"export-text"}).rfind("pelgrin 실패(2): 사용법: pelgrin", 0),
              0u);
    EXPECT_TRUE(names(work.path()).empty());
}

TEST_F(Tools, DocxToHwpxProducesAPackageThatInspectOpens) {
    const fs::path out = work.path() / "doc.hwpx";
    runTool(tool("wordbridge"), "wordbridge",
            {"docx2hwp", corpus("docx", "tbl-having-tables.docx").string(), out.string()});
    EXPECT_TRUE(hwpxStructureProblems(readFileBytes(out)).empty());
    const std::string report = runTool(tool("wordbridge"), "wordbridge", {"inspect", out.string()});
    EXPECT_NE(report.find("format: HWPX"), std::string::npos) << report;
    const fs::path back = work.path() / "back.docx";
    runTool(tool("wordbridge"), "wordbridge", {"hwp2docx", out.string(), back.string()});
    EXPECT_EQ(documentText(readDocument(back)),
              documentText(readDocument(corpus("docx", "tbl-having-tables.docx"))));
    EXPECT_EQ(names(work.path()), (std::vector<std::string>{"back.docx", "doc.hwpx"}));
}

// A failed conversion leaves nothing new behind, keeps an existing file at the output path
// as it was and never touches the source.
TEST_F(Tools, FailuresLeaveNoPartialOutputAndTheSourceUntouched) {
    const std::string whole = readFileBytes(corpus("docx", "test.docx"));
    const fs::path broken = work.path() / "broken.docx";
    std::ofstream(broken, std::ios::binary) << whole.substr(0, whole.size() / 2);
    const fs::path existing = work.path() / "keep.hwpx";
    std::ofstream(existing) << "keep";
    const std::string message =
        failureOf("wordbridge", {"docx2hwp", broken.string(), existing.string()});
    EXPECT_EQ(message.rfind("wordbridge 실패(1): ZIP", 0), 0u) << message;
    EXPECT_EQ(readFileBytes(existing), "keep");
    EXPECT_EQ(
        failureOf("wordbridge", {"docx2hwp", broken.string(), (work.path() / "x.hwp").string()})
            .rfind("wordbridge 실패(1): ZIP", 0),
        0u);
    EXPECT_EQ(
        failureOf("wordbridge", {"inspect", broken.string()}).rfind("wordbridge 실패(1): ", 0), 0u);
    EXPECT_EQ(names(work.path()), (std::vector<std::string>{"broken.docx", "keep.hwpx"}));
    EXPECT_EQ(readFileBytes(broken), whole.substr(0, whole.size() / 2));
}

TEST_F(Tools, AnOutputThatIsTheSourceIsRefused) {
    const fs::path copy = work.path() / "same.hwpx";
    fs::copy_file(corpus("hwpx", "Table.hwpx"), copy);
    const fs::path alias = work.path() / "alias.hwpx";
    fs::create_symlink(copy, alias);
    EXPECT_NE(failureOf("pelgrin", {"export-hwpx", copy.string(), alias.string()})
                  .find("원본과 같은 파일"),
              std::string::npos);
    EXPECT_EQ(readFileBytes(copy), readFileBytes(corpus("hwpx", "Table.hwpx")));
}

TEST_F(Tools, ExportHwpxVerifiesWhatItWrote) {
    const fs::path out = work.path() / "copy.hwpx";
    runTool(tool("pelgrin"), "pelgrin",
            {"export-hwpx", corpus("hwpx", "Table.hwpx").string(), out.string(), "--verify-pages"});
    EXPECT_TRUE(hwpxStructureProblems(readFileBytes(out)).empty());
}

// The Word petal's HWP route: docx2hwp, then inspect on what it wrote, as the application runs
// them; the file opens and holds the Word document's text.
TEST_F(Tools, DocxToHwpProducesAFileThatInspectOpens) {
    const fs::path source = corpus("docx", "tbl-having-tables.docx");
    const fs::path out = work.path() / "doc.hwp";
    runTool(tool("wordbridge"), "wordbridge", {"docx2hwp", source.string(), out.string()});
    EXPECT_EQ(readFileBytes(out).substr(0, 8), std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    const std::string report = runTool(tool("wordbridge"), "wordbridge", {"inspect", out.string()});
    EXPECT_NE(report.find("format: HWP\n"), std::string::npos) << report;
    EXPECT_NE(report.find("tables: 3"), std::string::npos) << report;
    EXPECT_EQ(documentText(readDocument(out)), documentText(readDocument(source)));
    const fs::path back = work.path() / "back.docx";
    runTool(tool("wordbridge"), "wordbridge", {"hwp2docx", out.string(), back.string()});
    EXPECT_EQ(documentText(readDocument(back)), documentText(readDocument(source)));
}

TEST_F(Tools, ConvertWritesHwpAndVerifiesWhatItWrote) {
    const fs::path out = work.path() / "table.hwp";
    runTool(tool("pelgrin"), "pelgrin",
            {"convert", corpus("hwpx", "Table.hwpx").string(), out.string(), "--verify-pages"});
    EXPECT_EQ(documentText(readDocument(out)),
              documentText(readDocument(corpus("hwpx", "Table.hwpx"))));
    // HWP to HWP goes through the model as well.
    const fs::path again = work.path() / "again.hwp";
    runTool(tool("pelgrin"), "pelgrin",
            {"convert", out.string(), again.string(), "--verify-pages"});
    EXPECT_EQ(documentText(readDocument(again)), documentText(readDocument(out)));
    EXPECT_EQ(failureOf("pelgrin", {"convert", corpus("docx", "test.docx").string(),
                                    (work.path() / "x.hwp").string()}),
              "pelgrin 실패(1): HWP/HWPX 문서가 아님: test.docx");
    EXPECT_EQ(names(work.path()), (std::vector<std::string>{"again.hwp", "table.hwp"}));
}

TEST_F(Tools, TextutilWritesTheBodyTextOfWordDocuments) {
    const fs::path out = work.path() / "out.txt";
    runProcess(tool("textutil"),
               {"-convert", "txt", "-output", out.string(), corpus("docx", "test.docx").string()});
    TextOptions options;
    options.notes = false;
    EXPECT_EQ(readFileBytes(out), documentText(readDocument(corpus("docx", "test.docx")), options));
    try {
        runProcess(tool("textutil"), {"-convert", "txt", "-output", out.string(),
                                      corpus("hwpx", "Table.hwpx").string()});
        ADD_FAILURE() << "an HWPX source must be refused";
    } catch (const ConvertError& error) {
        EXPECT_STREQ(error.what(), "textutil 실패(1): Word(DOCX) 문서가 아님: Table.hwpx");
    }
    EXPECT_THROW(
        runProcess(tool("textutil"), {"-convert", "pdf", "-output", out.string(), "x.docx"}),
        ConvertError);
}

}  // namespace
}  // namespace tavrino::docs::test
