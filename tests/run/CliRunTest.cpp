// tavrino-cli run end to end: the real executable on real files.

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "support/Fixtures.h"
#include "support/Judges.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;
using namespace tavrino::test;

namespace {

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
    const ProcessResult result =
        runCli({"run", "convert(png)", (folder / "a.jpg").string(), (folder / "b.png").string()});
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
    const ProcessResult failed = runCli(
        {"run", "convert(jpg)", (folder / "broken.png").string(), (folder / "good.png").string()});
    EXPECT_EQ(failed.status, 1);
    const auto lines = linesOf(failed.out);
    ASSERT_EQ(lines.size(), 4u) << failed.out;
    EXPECT_EQ(lines[0], "JPG 실패: broken.png: 이미지로 읽을 수 없음: broken.png");
    EXPECT_EQ(lines[2], "1개 완료") << "the finish text follows the log lines";
    EXPECT_EQ(lines[3], "1개 실패");
    EXPECT_TRUE(fs::exists(folder / "good.jpg"));
    EXPECT_FALSE(fs::exists(folder / "broken.jpg"));

    EXPECT_EQ(runCli({"run", "convert(gif)", (folder / "good.png").string()}).status, 2);
    EXPECT_EQ(runCli({"run", "convert(jpg)"}).status, 2);
    const ProcessResult crop = runCli({"run", "tool(crop)", (folder / "good.png").string()});
    EXPECT_EQ(crop.status, 1);
    EXPECT_NE(crop.err.find("자르기는 따로 처리"), std::string::npos) << crop.err;
}

}  // namespace

namespace {

bool hasLine(const std::vector<std::string>& lines, const std::string& wanted) {
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

bool anyStartsWith(const std::vector<std::string>& lines, const std::string& prefix) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.starts_with(prefix); });
}

// A Word document with a table inside a table, converted to HWPX: the risk check names it in
// the log, and the run ends as the hub would, in 확인 필요 with the notification's text.
TEST(CliRunTest, NestedTableInWordEndsInACheck) {
    if (!haveCorpus()) GTEST_SKIP() << "no corpus";
    TempDir folder;
    const fs::path source = folder / "표.docx";
    fs::copy_file(corpusFile("docx/blk-paras-and-tables.docx"), source);
    const ProcessResult result = runCli({"run", "fromWord(hwpx)", source.string()});
    EXPECT_EQ(result.status, 0) << result.out;
    const auto lines = linesOf(result.out);
    EXPECT_TRUE(hasLine(lines, "확인 필요: 표.docx: nestedTable×1")) << result.out;
    EXPECT_TRUE(hasLine(lines, "  - 표 안에 표가 1개 있어 모양이 바뀔 수 있음")) << result.out;
    EXPECT_TRUE(anyStartsWith(lines, "HWPX 완료: 표.docx -> 표.hwpx")) << result.out;
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[lines.size() - 3], "확인 필요");
    EXPECT_EQ(lines[lines.size() - 2], "확인 필요: 표.docx");
    EXPECT_EQ(lines.back(), "표 안에 표가 1개 있어 모양이 바뀔 수 있음");
    EXPECT_TRUE(fs::exists(folder / "표.hwpx"));
}

// A plain document converts without any word about risks; its text goes to "이름 글자.txt"
// and the note says nothing was copied, as this program has no clipboard.
TEST(CliRunTest, PlainDocumentsConvertQuietlyAndGiveTheirText) {
    if (!haveCorpus()) GTEST_SKIP() << "no corpus";
    TempDir folder;
    const fs::path source = folder / "memo.docx";
    fs::copy_file(corpusFile("docx/par-alignment.docx"), source);
    const ProcessResult converted = runCli({"run", "fromWord(hwpx)", source.string()});
    EXPECT_EQ(converted.status, 0) << converted.out;
    const auto lines = linesOf(converted.out);
    EXPECT_FALSE(anyStartsWith(lines, "확인 필요")) << converted.out;
    EXPECT_FALSE(anyStartsWith(lines, "깨짐 위험 검사 실패")) << converted.out;
    EXPECT_EQ(lines.back(), "완료");

    for (const fs::path& document : {source, folder / "memo.hwpx"}) {
        const ProcessResult text = runCli({"run", "tool(extractText)", document.string()});
        EXPECT_EQ(text.status, 0) << text.out;
        EXPECT_TRUE(
            std::regex_match(linesOf(text.out).back(), std::regex(R"([0-9]+자 · 복사하지 않음)")))
            << text.out;
    }
    const std::string fromWord = readBytes(folder / "memo 글자.txt");
    EXPECT_FALSE(fromWord.empty());
    EXPECT_EQ(readBytes(folder / "memo 글자 2.txt"), fromWord) << "the same words either way";
}

}  // namespace
