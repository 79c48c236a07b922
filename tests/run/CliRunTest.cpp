// tavrino-cli run end to end: the real executable on real files.

#include <gtest/gtest.h>

#include <regex>

#include "support/Fixtures.h"
#include "support/Judges.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;
using namespace tavrino::test;

namespace {

const std::string cli = builtProgram("src/tavrino-cli").string();

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    const std::regex stamp(R"(^\[[0-9TZ:-]+\] )");
    for (std::string line; std::getline(in, line);)
        lines.push_back(std::regex_replace(line, stamp, ""));
    return lines;
}

TEST(CliRunTest, ConvertsTheJpegAndSkipsThePng) {
    TAVRINO_REQUIRE_TOOL("identify");
    TempDir folder;
    writePicture(folder / "a.jpg", 32, 16);
    writePicture(folder / "b.png", 8, 8);
    const ProcessResult result = runProgram(
        {cli, "run", "convert(png)", (folder / "a.jpg").string(), (folder / "b.png").string()});
    EXPECT_EQ(result.status, 0) << result.out;
    const auto lines = linesOf(result.out);
    ASSERT_EQ(lines.size(), 3u) << result.out;
    EXPECT_TRUE(
        std::regex_match(lines[0], std::regex(R"(PNG 완료: a\.jpg -> a\.png \[\d+\.\d\d초\])")))
        << lines[0];
    EXPECT_EQ(lines[1], "PNG 건너뜀: b.png는 이미 PNG");
    EXPECT_EQ(lines[2], "1개는 이미 PNG");
    EXPECT_EQ(identify(folder / "a.png")->format, "PNG");
}

TEST(CliRunTest, ExitStatusSaysWhetherAnyFileFailed) {
    TempDir folder;
    writeBytes(folder / "broken.png", "not a picture");
    writePicture(folder / "good.png", 8, 8);
    const ProcessResult failed =
        runProgram({cli, "run", "convert(jpg)", (folder / "broken.png").string(),
                    (folder / "good.png").string()});
    EXPECT_EQ(failed.status, 1);
    const auto lines = linesOf(failed.out);
    ASSERT_EQ(lines.size(), 4u) << failed.out;
    EXPECT_EQ(lines[0], "JPG 실패: broken.png: 이미지로 읽을 수 없음: broken.png");
    EXPECT_EQ(lines[2], "1개 완료") << "the finish text follows the log lines";
    EXPECT_EQ(lines[3], "1개 실패");
    EXPECT_TRUE(fs::exists(folder / "good.jpg"));
    EXPECT_FALSE(fs::exists(folder / "broken.jpg"));

    EXPECT_EQ(runProgram({cli, "run", "convert(gif)", (folder / "good.png").string()}).status, 2);
    EXPECT_EQ(runProgram({cli, "run", "convert(jpg)"}).status, 2);
    const ProcessResult crop =
        runProgram({cli, "run", "tool(crop)", (folder / "good.png").string()});
    EXPECT_EQ(crop.status, 1);
    EXPECT_NE(crop.err.find("자르기는 따로 처리"), std::string::npos) << crop.err;
}

}  // namespace
