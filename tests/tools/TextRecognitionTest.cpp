#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "convert/ConvertError.h"
#include "platform/Clipboard.h"
#include "support/Fixtures.h"
#include "support/Judges.h"
#include "support/Process.h"
#include "support/TestFiles.h"
#include "tools/PageRecognition.h"
#include "tools/TextOutput.h"
#include "tools/TextRecognition.h"
#include "tools/ToolFixtures.h"
#include "tools/Tools.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

using test::TempDir;

struct RecordingClipboard : Clipboard {
    std::vector<std::string> texts;
    void putText(std::string text) override { texts.push_back(std::move(text)); }
};

// Installs a clipboard for one test and removes it afterwards.
struct ScopedClipboard {
    std::shared_ptr<RecordingClipboard> clipboard = std::make_shared<RecordingClipboard>();
    ScopedClipboard() { installClipboard(clipboard); }
    ~ScopedClipboard() { installClipboard(nullptr); }
};

// Renders `text` with pango-view in a Korean font at `px` pixels.
fs::path renderText(const fs::path& file, const std::string& text, int px,
                    const std::string& colours = "") {
    std::vector<std::string> argv{"pango-view",
                                  "-q",
                                  "--dpi=72",
                                  "--margin=12",
                                  "--font=NanumGothic " + std::to_string(px),
                                  "--text=" + text,
                                  "-o",
                                  file.string()};
    if (!colours.empty()) {
        argv.push_back("--background=black");
        argv.push_back("--foreground=white");
    }
    const auto result = test::runProgram(argv);
    EXPECT_EQ(result.status, 0) << result.err;
    return file;
}

using test::errorOf;

TEST(TextOutput, WritesTheFileAndCopiesWhenAClipboardIsInstalled) {
    TempDir dir;
    const fs::path source = test::writeImage(dir / "shot.png");
    {
        ScopedClipboard scoped;
        const ToolResult result = deliverText(source, "한글 A");
        EXPECT_EQ(result.output, dir / "shot 글자.txt");
        EXPECT_EQ(result.note, "4자 · 복사됨");
        EXPECT_EQ(test::readBytes(result.output), "한글 A");
        EXPECT_EQ(scoped.clipboard->texts, std::vector<std::string>{"한글 A"});
    }
    const ToolResult second = deliverText(source, "abc");
    EXPECT_EQ(second.output, dir / "shot 글자 2.txt");
    EXPECT_EQ(second.note, "3자 · 복사하지 않음");
}

TEST(TextOutput, EmptyTextOrUnwritableFolderWritesAndCopiesNothing) {
    TempDir dir;
    ScopedClipboard scoped;
    EXPECT_EQ(errorOf([&] { deliverText(dir / "a.png", ""); }), "글자를 찾지 못함");
    EXPECT_NE(errorOf([&] { deliverText(dir / "missing" / "a.png", "x"); }), "(no error)");
    EXPECT_TRUE(scoped.clipboard->texts.empty());
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

PixelBuffer filled(int width, int height, std::uint8_t background) {
    return {width, height, 1,
            std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height, background)};
}

TEST(Preparation, InvertsLightOnDarkAndScalesOnlySmallText) {
    PixelBuffer dark = filled(200, 60, 20);
    for (int x = 20; x < 180; ++x)
        for (int y = 25; y < 35; ++y)
            if (x % 5 < 2) dark.bytes[y * 200 + x] = 240;  // a 10 px line of light strokes
    const PreparedPicture prepared = preparedForReading(dark);
    ASSERT_EQ(prepared.blocks.size(), 1U);
    const int scale = prepared.grey.width / 200;
    EXPECT_GT(scale, 1);  // the small line was scaled up
    const PixelBuffer& grey = prepared.grey;
    const auto at = [&](int x, int y) {  // the middle of what was pixel (x, y)
        return grey.bytes[std::size_t(y * scale + scale / 2) * grey.width + x * scale + scale / 2];
    };
    EXPECT_EQ(at(100, 30), 255 - 240);  // a stroke
    EXPECT_EQ(at(103, 30), 255 - 20);   // between strokes
    const TextBlock& block = prepared.blocks.front();
    // Around the block the engine sees its background turned light too, beyond it white.
    EXPECT_EQ(grey.bytes[std::size_t(block.y + scale) * grey.width + block.x + scale], 255 - 20);
    EXPECT_EQ(grey.bytes.front(), 255);

    PixelBuffer tall = filled(200, 200, 250);
    for (int x = 20; x < 180; ++x)
        for (int y = 40; y < 120; ++y)
            if (x % 8 < 3) tall.bytes[y * 200 + x] = 0;  // an 80 px line of dark strokes
    const PreparedPicture same = preparedForReading(tall);
    EXPECT_EQ(same.grey.width, 200);
    ASSERT_EQ(same.blocks.size(), 1U);
    EXPECT_EQ(same.grey.bytes[80 * 200 + 104], 0);  // a stroke, neither scaled nor inverted
}

TEST(Preparation, TransparentPixelsBecomeWhiteAndHoldNothingToRead) {
    const PixelBuffer clear{40, 40, 4, std::vector<std::uint8_t>(6400, 0)};
    const PreparedPicture prepared = preparedForReading(clear);
    EXPECT_EQ(prepared.grey.bands, 1);
    for (auto v : prepared.grey.bytes)
        EXPECT_EQ(v, 255);
    EXPECT_TRUE(prepared.blocks.empty());
}

TEST(Preparation, APictureTooSmallForALineHoldsNothingToRead) {
    PixelBuffer tiny = filled(8, 8, 255);
    for (int i = 0; i < 8; ++i)
        tiny.bytes[i * 8 + 3] = 0;  // a sharp stroke, but nothing could be read at this size
    EXPECT_TRUE(preparedForReading(tiny).blocks.empty());
}

RecognizedLine lineOf(const std::vector<std::pair<std::string, float>>& words) {
    RecognizedLine line;
    for (const auto& [text, confidence] : words) {
        RecognizedWord word;
        word.text = text;
        word.confidence = confidence;
        line.words.push_back(word);
    }
    return line;
}

TEST(LineTrust, OneBadWordNeitherSinksAGoodLineNorLiftsABadOne) {
    // Eight sure words and one syllable the engine could not read at all.
    const RecognizedLine good = lineOf({{"설정", 93},
                                        {"화", 93},
                                        {"면", 93},
                                        {"에", 91},
                                        {"서", 92},
                                        {"언어를", 68},
                                        {"바", 93},
                                        {"꿈", 0},
                                        {"니다", 78}});
    EXPECT_GE(lineConfidence(good), 78);
    // What the engine makes of a texture: marks it is unsure of and one it is sure of.
    const RecognizedLine junk = lineOf({{"~", 28}, {"we", 27}, {"il", 30}, {"4", 90}});
    EXPECT_LT(lineConfidence(junk), 45);
    // Words count by their letters: a long sure word outweighs two short unsure ones.
    EXPECT_EQ(lineConfidence(lineOf({{"a", 20}, {"b", 30}, {"다운로드완료", 95}})), 95);
    EXPECT_EQ(lineConfidence(RecognizedLine{}), 0);
}

class Recognition : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test::haveProgram("pango-view")) GTEST_SKIP() << "pango-view is not installed";
    }
    TempDir dir;
};

TEST_F(Recognition, TwoLinesOfAScreenshotGiveTwoLines) {
    const fs::path shot =
        renderText(dir / "shot.png", "안녕하세요 반갑습니다\nHello World 2026", 16);
    EXPECT_EQ(recognizeText(FileFacts(shot)), "안녕하세요 반갑습니다\nHello World 2026");
    const fs::path dark = renderText(dir / "dark.png", "설정 저장하기", 13, "dark");
    EXPECT_EQ(recognizeText(FileFacts(dark)), "설정 저장하기");
}

TEST_F(Recognition, NoEntryOfASmallDarkMenuIsDropped) {
    // At this size the engine took the first two entries for one line and read only the
    // first of them.
    const fs::path menu = dir / "menu.png";
    ASSERT_EQ(
        test::runProgram({"pango-view", "-q", "--dpi=72", "--margin=14", "--font=NanumGothic 11",
                          "--background=#202124", "--foreground=#e8eaed",
                          "--text=편집\n파일\n휴지통 비우기", "-o", menu.string()})
            .status,
        0);
    EXPECT_EQ(recognizeText(FileFacts(menu)), "편집\n파일\n휴지통 비우기");
}

TEST_F(Recognition, TwoColumnsAreReadOneAfterTheOther) {
    if (!test::haveProgram("vips")) GTEST_SKIP() << "the vips command is not installed";
    const fs::path left = renderText(dir / "left.png", "왼쪽 첫 줄입니다\n왼쪽 둘째 줄", 16);
    const fs::path right =
        renderText(dir / "right.png", "오른쪽 첫 줄입니다\n오른쪽 둘째 줄입니다", 16);
    const fs::path page = dir / "columns.png";
    ASSERT_EQ(test::runProgram({"vips", "join", left.string(), right.string(), page.string(),
                                "horizontal", "--shim", "60", "--background", "255", "--expand"})
                  .status,
              0);
    EXPECT_EQ(recognizeText(FileFacts(page)),
              "왼쪽 첫 줄입니다\n왼쪽 둘째 줄\n오른쪽 첫 줄입니다\n오른쪽 둘째 줄입니다");
}

TEST_F(Recognition, AnEnglishWordWithAKoreanParticleKeepsBoth) {
    const fs::path shot = renderText(dir / "mixed.png", "한국어와 English가 섞인 문장입니다", 18);
    EXPECT_EQ(recognizeText(FileFacts(shot)), "한국어와 English가 섞인 문장입니다");
}

TEST_F(Recognition, ThroughTheToolTheFileHoldsTheText) {
    const fs::path shot = renderText(dir / "메모.png", "한글 문서", 28);
    const ToolResult result = applyTool(Tool::extractText, shot);
    EXPECT_EQ(result.output, dir / "메모 글자.txt");
    EXPECT_EQ(result.note, "5자 · 복사하지 않음");
    EXPECT_EQ(test::readBytes(result.output), "한글 문서");
}

TEST_F(Recognition, ABlankMiddlePageKeepsItsPlaceBetweenSeparators) {
    const fs::path pdf = test::writeTextPDF(dir / "scan.pdf", {"FIRST PAGE", "", "THIRD PAGE"});
    EXPECT_EQ(recognizeText(FileFacts(pdf)), "FIRST PAGE\n\n\n\nTHIRD PAGE");
}

TEST_F(Recognition, ATiffIsReadFrameByFrameInOrder) {
    if (!test::haveProgram("vips")) GTEST_SKIP() << "the vips command is not installed";
    const std::vector<std::string> texts{"첫째 장 입니다", "둘째 장 입니다", "셋째 장 입니다"};
    std::string frames;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const fs::path line = renderText(dir / ("line" + std::to_string(i) + ".png"), texts[i], 20);
        const fs::path frame = dir / ("frame" + std::to_string(i) + ".png");
        ASSERT_EQ(test::runProgram({"vips", "embed", line.string(), frame.string(), "0", "0", "300",
                                    "60", "--extend", "white"})
                      .status,
                  0);
        frames += (i ? " " : "") + frame.string();
    }
    const fs::path joined = dir / "joined.v";
    ASSERT_EQ(
        test::runProgram({"vips", "arrayjoin", frames, joined.string(), "--across", "1"}).status,
        0);
    const fs::path tiff = dir / "pages.tif";
    ASSERT_EQ(test::runProgram(
                  {"vips", "tiffsave", joined.string(), tiff.string(), "--page-height", "60"})
                  .status,
              0);
    EXPECT_EQ(recognizeText(FileFacts(tiff)), texts[0] + "\n\n" + texts[1] + "\n\n" + texts[2]);
}

TEST_F(Recognition, ATurnedPhotoIsReadUpright) {
    if (!test::haveProgram("vips") || !test::haveProgram("exiftool")) GTEST_SKIP();
    const fs::path line = renderText(dir / "line.png", "첫째 장 입니다", 20);
    const fs::path turned = dir / "turned.png";
    ASSERT_EQ(test::runProgram({"vips", "rot", line.string(), turned.string(), "d270"}).status, 0);
    const fs::path photo = dir / "photo.jpg";
    ASSERT_EQ(test::runProgram({"vips", "copy", turned.string(), photo.string()}).status, 0);
    test::writeTags(photo, {"-Orientation=6", "-n"});
    EXPECT_EQ(recognizeText(FileFacts(photo)), "첫째 장 입니다");
}

TEST(RecognitionLimits, HugeInputIsRefusedOrReadPageByPage) {
    TempDir dir;
    // A picture claiming 20,000 × 20,000 pixels is refused before any pixel is decoded.
    const fs::path big = dir / "big.png";
    test::writeBytes(big, test::pngClaimingSize(dir / "scratch.png", 20000, 20000));
    EXPECT_EQ(errorOf([&] { recognizeText(FileFacts(big)); }), "이미지로 읽을 수 없음: big.png");
    // Two thousand blank pages are rendered and looked at one at a time per worker.
    const std::vector<test::PdfPage> pages(2000, test::PdfPage{"0 0 40 30", ""});
    const fs::path pdf = dir / "long.pdf";
    test::writeBytes(pdf, test::pdfBytes(pages));
    EXPECT_EQ(errorOf([&] { recognizeText(FileFacts(pdf)); }), "글자를 찾지 못함");
}

TEST_F(Recognition, NothingToReadOrUnreadableInputWritesNothing) {
    const fs::path picture = test::writeImage(dir / "photo.png", 300, 200);
    EXPECT_EQ(errorOf([&] { applyTool(Tool::extractText, picture); }), "글자를 찾지 못함");
    // Once read as two characters: too small to hold a line, and no ink in it.
    const fs::path tiny = test::writeImage(dir / "tiny.png", 8, 8);
    EXPECT_EQ(errorOf([&] { applyTool(Tool::extractText, tiny); }), "글자를 찾지 못함");
    const fs::path broken = test::writeText(dir / "broken.pdf", "%PDF-1.7 not really");
    EXPECT_EQ(errorOf([&] { recognizeText(FileFacts(broken)); }), "PDF를 열 수 없음");
    const fs::path damaged = test::writeText(dir / "damaged.png", "\x89PNG\r\n\x1a\nxx");
    EXPECT_EQ(errorOf([&] { recognizeText(FileFacts(damaged)); }),
              "이미지로 읽을 수 없음: damaged.png");
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().string().find("글자"), std::string::npos) << entry.path();
}

}  // namespace
}  // namespace tavrino
