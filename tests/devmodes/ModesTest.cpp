// The command line's developer modes: parsing, the self-test's verdict, the tool matrix's
// lines, and the welcome preview images judged by what they show.

#include <gtest/gtest.h>

#include <QImage>
#include <fstream>
#include <sstream>

#include "app/CommandLine.h"
#include "devmodes/SelfTest.h"
#include "devmodes/ToolMatrix.h"
#include "support/Process.h"
#include "support/TestFiles.h"

namespace tavrino::app {
namespace {

TEST(CommandLine, DeveloperModesInTheirOrder) {
    EXPECT_TRUE(
        std::holds_alternative<SelfTestMode>(parseMode({"--tool-matrix", "d", "--selftest"})));
    const Mode matrix = parseMode({"--tool-matrix", "samples", "--welcome-preview", "x.png"});
    ASSERT_TRUE(std::holds_alternative<ToolMatrixMode>(matrix));
    EXPECT_EQ(std::get<ToolMatrixMode>(matrix).directory, "samples");
    // A flag without its value is passed over.
    EXPECT_TRUE(std::holds_alternative<NormalRun>(parseMode({"--tool-matrix"})));
    EXPECT_TRUE(std::holds_alternative<NormalRun>(parseMode({"--welcome-preview"})));
    EXPECT_TRUE(std::holds_alternative<NormalRun>(parseMode({"--unknown"})));
}

TEST(CommandLine, WelcomePreviewModifiers) {
    const auto mode = std::get<WelcomePreviewMode>(parseMode(
        {"--welcome-preview", "out.png", "icon.png", "--dark", "--conflict", "--waiting"}));
    EXPECT_EQ(mode.output, "out.png");
    EXPECT_EQ(mode.iconOutput, "icon.png");
    EXPECT_TRUE(mode.dark && mode.conflict && mode.waiting);

    const auto plain = std::get<WelcomePreviewMode>(
        parseMode({"--welcome-preview", "out.png", "--dark", "--waiting"}));
    EXPECT_FALSE(plain.iconOutput);
    EXPECT_FALSE(plain.conflict);
    EXPECT_FALSE(plain.waiting);  // only with --conflict
}

TEST(SelfTest, StatusIsZeroOnlyWhenEveryCheckPasses) {
    std::ostringstream out;
    EXPECT_EQ(runSelfTest(selfChecks(), out), 0) << out.str();
    EXPECT_EQ(out.str().find("FAIL"), std::string::npos);

    auto checks = selfChecks();
    checks.push_back({"깨진 점검", [] { return std::optional<std::string>("일부러 실패"); }});
    checks.push_back(
        {"던지는 점검", []() -> std::optional<std::string> { throw std::runtime_error("던짐"); }});
    std::ostringstream broken;
    EXPECT_EQ(runSelfTest(checks, broken), 1);
    EXPECT_NE(broken.str().find("FAIL\t깨진 점검\t일부러 실패\n"), std::string::npos);
    EXPECT_NE(broken.str().find("FAIL\t던지는 점검\t던짐\n"), std::string::npos);
}

TEST(ToolMatrix, OneLinePerToolAndSampleAndTheFolderStaysAsItWas) {
    test::TempDir samples;
    test::writeText(samples / "a.png", "not really");
    test::writeText(samples / "b.pdf", "%PDF");
    std::filesystem::create_directory(samples / "folder");
    std::vector<std::filesystem::path> seen;
    const ToolRunner runner = [&](Tool tool, const std::filesystem::path& file) -> std::string {
        seen.push_back(file);
        if (tool == Tool::rotate) throw std::runtime_error("회전 실패:\n둘째 줄");
        test::writeText(file.parent_path() / "result.png", "x");
        return "result.png";
    };
    std::ostringstream out;
    EXPECT_EQ(runToolMatrix(samples.path(), runner, out), 16);

    std::istringstream lines(out.str());
    std::string line;
    std::vector<std::string> all;
    while (std::getline(lines, line))
        all.push_back(line);
    ASSERT_EQ(all.size(), 16u);
    EXPECT_EQ(all[0], "image\t압축\tOK\tresult.png");
    EXPECT_EQ(all[3], "image\t회전\tFAIL\t회전 실패: 둘째 줄");
    EXPECT_EQ(all[15], "pdf\t글자 추출\tOK\tresult.png");
    for (const auto& file : seen)
        EXPECT_NE(file.parent_path(), samples.path());
    EXPECT_FALSE(std::filesystem::exists(samples / "result.png"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(samples.path()),
                            std::filesystem::directory_iterator()),
              3);
    EXPECT_THROW(runToolMatrix(samples / "missing", runner, out), std::runtime_error);
}

}  // namespace
}  // namespace tavrino::app
