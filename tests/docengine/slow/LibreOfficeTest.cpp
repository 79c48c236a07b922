// LibreOffice as an independent judge: it must open the DOCX files we write, and its own
// text export of the corpus must give the same words as our textutil. Each test starts
// soffice once for all its files; together they take well under a minute.
#include <sstream>

#include "../Corpus.h"
#include "convert/ConvertError.h"
#include "documents/ToolRunner.h"
#include "io/DocumentIO.h"
#include "io/Files.h"

namespace tavrino::docs::test {
namespace {

namespace fs = std::filesystem;

const char* const soffice = "/usr/bin/soffice";

void convertWithLibreOffice(const std::string& filter, const std::vector<fs::path>& files,
                            const fs::path& outDir, const fs::path& profile) {
    std::vector<std::string> args{"-env:UserInstallation=file://" + profile.string(),
                                  "--headless",
                                  "--convert-to",
                                  filter,
                                  "--outdir",
                                  outDir.string()};
    for (const auto& file : files)
        args.push_back(file.string());
    runProcess(soffice, args);
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;) {
        if (word.rfind("\xEF\xBB\xBF", 0) == 0) word = word.substr(3);  // LibreOffice's BOM
        if (!word.empty()) out.push_back(word);
    }
    return out;
}

class LibreOffice : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!fs::exists(soffice)) GTEST_SKIP() << "LibreOffice is not installed";
        if (corpusFiles("docx").empty())
            GTEST_SKIP() << "corpus not found at " << TAVRINO_CORPUS_DIR;
    }
    TempDir work;
};

TEST_F(LibreOffice, TextutilGivesTheSameWordsAsLibreOfficeTextExport) {
    const auto files = corpusFiles("docx");
    convertWithLibreOffice("txt:Text (encoded):UTF8", files, work.path() / "lo",
                           work.path() / "profile");
    for (const auto& file : files) {
        const fs::path ours = work.path() / (file.stem().string() + ".ours.txt");
        runProcess((fs::path(TAVRINO_TOOLS_DIR) / "textutil").string(),
                   {"-convert", "txt", "-output", ours.string(), file.string()});
        const fs::path theirs = work.path() / "lo" / (file.stem().string() + ".txt");
        ASSERT_TRUE(fs::exists(theirs)) << file.filename();
        EXPECT_EQ(words(readFileBytes(ours)), words(readFileBytes(theirs))) << file.filename();
    }
}

TEST_F(LibreOffice, OpensTheWordDocumentsWeWrite) {
    std::vector<fs::path> ours;
    for (const char* name : {"Table.hwpx", "SimplePicture.hwpx", "HeaderFooter.hwpx",
                             "ParaHead.hwpx", "RectInRect.hwpx", "SimpleEquation.hwpx"}) {
        const fs::path source = fs::path(TAVRINO_CORPUS_DIR) / "hwpx" / name;
        ours.push_back(work.path() / (source.stem().string() + ".docx"));
        writeDocument(readDocument(source), ours.back(), DocumentFormat::docx);
    }
    convertWithLibreOffice("pdf", ours, work.path() / "pdf", work.path() / "profile");
    for (const auto& docx : ours) {
        const fs::path pdf = work.path() / "pdf" / (docx.stem().string() + ".pdf");
        ASSERT_TRUE(fs::exists(pdf)) << docx.filename();
        const std::string bytes = readFileBytes(pdf);
        EXPECT_EQ(bytes.rfind("%PDF-", 0), 0u) << docx.filename();
        EXPECT_GT(bytes.size(), 1000u) << docx.filename();
    }
}

}  // namespace
}  // namespace tavrino::docs::test
