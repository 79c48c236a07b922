// The bundled tools on HWP sources, as the application runs them: exit status 0 and the output
// in place on success, a non-zero status and our message as the last line on failure.

#include <gtest/gtest.h>

#include <fstream>

#include "HwpFixture.h"
#include "io/Files.h"
#include "support/Process.h"
#include "support/TestFiles.h"

namespace tavrino::docs::hwp5 {
namespace {

using tavrino::test::builtProgram;
using tavrino::test::runProgram;

std::string lastLine(const tavrino::test::ProcessResult& r) {
    std::string all = r.out + r.err;
    while (!all.empty() && all.back() == '\n')
        all.pop_back();
    return all.substr(all.rfind('\n') + 1);
}

class Hwp5Tools : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(builtProgram("docengine/pelgrin")))
            GTEST_SKIP() << "pelgrin is not built";
        if (!tavrino::test::haveCorpus()) GTEST_SKIP() << "the shared corpus is missing";
    }
    tavrino::test::TempDir work;
};

TEST_F(Hwp5Tools, ExportTextAndHwpxOfADistributionDocument) {
    auto source = tavrino::test::corpusFile("hwp/distribution.hwp");
    auto text = runProgram({builtProgram("docengine/pelgrin").string(), "export-text",
                            source.string(), "-o", work.path().string()});
    ASSERT_EQ(text.status, 0) << lastLine(text);
    std::string exported = readFileBytes(work / "section-0001.txt");
    EXPECT_NE(exported.find("2025년 강남세움센터 시설관리원 용역업체 선정 입찰공고"),
              std::string::npos);

    auto hwpx = work / "out.hwpx";
    auto run = runProgram({builtProgram("docengine/pelgrin").string(), "export-hwpx",
                           source.string(), hwpx.string(), "--verify-pages"});
    EXPECT_EQ(run.status, 0) << lastLine(run);
    EXPECT_GT(std::filesystem::file_size(hwpx), 0u);
}

TEST_F(Hwp5Tools, LockedAndDamagedSourcesFailWithTheReason) {
    auto locked = work / "locked.hwp";
    test::Bytes bytes = test::hwpDocument({test::paragraph(0, u"비밀", true)}, 0x2);
    std::ofstream(locked, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    auto out = work / "out";
    std::filesystem::create_directory(out);
    auto r = runProgram({builtProgram("docengine/pelgrin").string(), "export-text", locked.string(),
                         "-o", out.string()});
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(lastLine(r), "암호가 걸린 한글 문서라 열 수 없음");
    EXPECT_TRUE(std::filesystem::is_empty(out));

    auto cut = work / "cut.hwp";
    std::string whole = readFileBytes(tavrino::test::corpusFile("hwp/source.hwp"));
    std::ofstream(cut, std::ios::binary) << whole.substr(0, whole.size() / 2);
    auto inspect =
        runProgram({builtProgram("docengine/wordbridge").string(), "inspect", cut.string()});
    EXPECT_NE(inspect.status, 0);
    EXPECT_NE(lastLine(inspect).find("손상"), std::string::npos) << lastLine(inspect);
}

}  // namespace
}  // namespace tavrino::docs::hwp5
