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

namespace tavrino::app {
namespace {

TEST(CommandLine, CropPreviewTakesThePngAndThePicture) {
    const Mode mode = parseMode({"--crop-preview", "out.png", "photo.jpg", "--ratio", "16:9"});
    ASSERT_TRUE(std::holds_alternative<CropPreviewMode>(mode));
    const auto& crop = std::get<CropPreviewMode>(mode);
    EXPECT_EQ(crop.output, "out.png");
    EXPECT_EQ(crop.source, "photo.jpg");
    EXPECT_EQ(crop.ratio, "16:9");
    // Without its picture the flag is passed over.
    EXPECT_TRUE(std::holds_alternative<NormalRun>(parseMode({"--crop-preview", "out.png"})));
    EXPECT_TRUE(
        std::holds_alternative<NormalRun>(parseMode({"--crop-preview", "out.png", "--ratio"})));
}

TEST(CropPreview, DrawsTheWindowWithTheChosenRatio) {
    test::TempDir dir;
    const auto photo = test::writeImage(dir / "photo.png", 4000, 3000);
    const auto program = test::builtProgram("src/app/tavrino").string();
    const auto shot = dir / "window.png";
    const auto result = test::runProgram(
        {program, "--crop-preview", shot.string(), photo.string(), "--ratio", "16:9"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "크기: 4000 × 2250 px\n");
    const QImage window(QString::fromStdString(shot.string()));
    ASSERT_EQ(window.size(), QSize(848, 708));
    // The band above the 16:9 crop is dimmed, the crop itself is not.
    const QImage source(QString::fromStdString(photo.string()));
    const QColor shown = window.pixelColor(424, 324);
    const QColor dimmed = window.pixelColor(424, 40);
    EXPECT_NEAR(shown.lightness(), source.pixelColor(2000, 1500).lightness(), 40);
    EXPECT_LT(dimmed.lightness(), source.pixelColor(2000, 80).lightness() * 0.6);

    const auto unknown = test::runProgram(
        {program, "--crop-preview", shot.string(), photo.string(), "--ratio", "2:1"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("알 수 없는 비율: 2:1"), std::string::npos);
    const auto unreadable = test::runProgram(
        {program, "--crop-preview", shot.string(), (dir / "missing.png").string()});
    EXPECT_EQ(unreadable.status, 1);
    EXPECT_NE(unreadable.err.find("이미지로 읽을 수 없음: missing.png"), std::string::npos);
}

}  // namespace
}  // namespace tavrino::app
