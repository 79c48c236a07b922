#include "convert/OutputNaming.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <regex>
#include <set>
#include <thread>

#include "convert/ConvertError.h"
#include "convert/PendingFile.h"
#include "support/Fixtures.h"
#include "support/Judges.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;
using namespace tavrino;
using tavrino::test::errorOf;
using tavrino::test::namesIn;
using tavrino::test::TempDir;
using tavrino::test::writeBytes;

namespace {

std::string name(const fs::path& path) {
    return path.filename().string();
}

TEST(OutputNamingTest, CountsUpwardPastTakenNamesAndReusesGaps) {
    TempDir folder;
    const fs::path source = folder / "sample.jpg";
    EXPECT_EQ(name(outputURL(source, Fmt::png)), "sample.png");
    writeBytes(folder / "sample.png", "x");
    EXPECT_EQ(name(outputURL(source, Fmt::png)), "sample 2.png");
    writeBytes(folder / "sample 3.png", "x");
    EXPECT_EQ(name(outputURL(source, Fmt::png)), "sample 2.png") << "a gap is reused";
    writeBytes(folder / "sample 2.png", "x");
    EXPECT_EQ(name(outputURL(source, Fmt::png)), "sample 4.png");
}

TEST(OutputNamingTest, FoldersAndDanglingLinksTakeNamesToo) {
    TempDir folder;
    fs::create_directory(folder / "sample.png");
    fs::create_symlink(folder / "nowhere", folder / "sample 2.png");
    EXPECT_EQ(name(outputURL(folder / "sample.jpg", "png")), "sample 3.png");
}

TEST(OutputNamingTest, StemLosesOnlyTheLastExtension) {
    TempDir folder;
    EXPECT_EQ(name(outputURL(folder / "README", "txt")), "README.txt");
    EXPECT_EQ(name(outputURL(folder / "a.b.c.png", Fmt::jpg)), "a.b.c.jpg");
    EXPECT_EQ(name(outputURL(folder / "report.final.docx", "hwpx")), "report.final.hwpx");
    EXPECT_EQ(outputURL(folder / "x.png", "jpg").parent_path(), folder.path());
}

TEST(OutputNamingTest, ToolNamesCountAfterTheSuffix) {
    TempDir folder;
    const fs::path photo = folder / "photo.png";
    EXPECT_EQ(name(toolOutputURL(photo, "압축", "jpg")), "photo 압축.jpg");
    writeBytes(folder / "photo 압축.jpg", "x");
    EXPECT_EQ(name(toolOutputURL(photo, "압축", "jpg")), "photo 압축 2.jpg");
    EXPECT_EQ(name(toolOutputURL(folder / "scan.tif", "50%", "tiff")), "scan 50%.tiff");
}

TEST(OutputNamingTest, PageFolderIsNewEvenWhenAnEmptyOneExists) {
    TempDir folder;
    const fs::path report = folder / "report.pdf";
    EXPECT_EQ(name(imageFolderURL(report)), "report 이미지");
    fs::create_directory(folder / "report 이미지");
    EXPECT_EQ(name(imageFolderURL(report)), "report 이미지 2");
    const fs::path created = createImageFolder(report);
    EXPECT_EQ(name(created), "report 이미지 2");
    EXPECT_TRUE(fs::is_empty(created));
    EXPECT_EQ(name(createImageFolder(report)), "report 이미지 3");
}

TEST(OutputNamingTest, TempDirIsANewFolderNamedWithAnUpperCaseUUID) {
    const fs::path first = tempDir();
    const fs::path second = tempDir();
    EXPECT_TRUE(fs::is_directory(first));
    EXPECT_NE(first, second);
    const std::regex pattern(
        "zt-hwp-[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
    EXPECT_TRUE(std::regex_match(name(first), pattern)) << first;
    fs::remove_all(first);
    fs::remove_all(second);
    fs::path scoped;
    {
        ScopedTempDir dir;
        scoped = dir.path();
        writeBytes(scoped / "work.txt", "x");
    }
    EXPECT_FALSE(fs::exists(scoped));
}

TEST(OutputNamingTest, MoveIntoPlaceRefusesEmptyOrMissingFiles) {
    TempDir folder;
    ScopedTempDir work;
    writeBytes(work.path() / "out.docx", "");
    const fs::path source = folder / "doc.hwp";
    writeBytes(source, "source");
    EXPECT_EQ(errorOf([&] { moveIntoPlace(work.path() / "out.docx", source, "docx"); }),
              "결과 파일이 비어 있음");
    EXPECT_THROW(moveIntoPlace(work.path() / "missing.docx", source, "docx"), ConvertError);
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"doc.hwp"});
}

TEST(OutputNamingTest, MoveIntoPlaceMovesAcrossFileSystemsUnderAFreeName) {
    TempDir folder;
    const fs::path source = folder / "doc.hwp";
    writeBytes(source, "source");
    writeBytes(folder / "doc.docx", "older");
    ScopedTempDir work;
    writeBytes(work.path() / "out.docx", "result");
    const fs::path placed = moveIntoPlace(work.path() / "out.docx", source, "docx");
    EXPECT_EQ(name(placed), "doc 2.docx");
    EXPECT_EQ(tavrino::test::readBytes(placed), "result");
    EXPECT_EQ(tavrino::test::readBytes(folder / "doc.docx"), "older");
    EXPECT_FALSE(fs::exists(work.path() / "out.docx"));
    EXPECT_EQ(namesIn(folder.path()).size(), 3u) << "no hidden leftovers";
}

TEST(OutputNamingTest, UnusableNamesHoldControlCharactersOrBrokenText) {
    for (std::string bad :
         {"a\nb", "tab\there", "del\x7f", "bad\xEF\xBF\xBD.hwp", "raw\xFF.hwp", "cut\xED\x95"}) {
        EXPECT_TRUE(unusableFileName(bad)) << bad;
    }
    for (std::string good : {"", "보고서 최종.hwp", "😀 emoji.docx", "a #1 100% : (draft).pdf"}) {
        EXPECT_FALSE(unusableFileName(good)) << good;
    }
}

TEST(PendingFileTest, PlacesOnlyCompleteFilesAndLeavesNothingWhenAbandoned) {
    TempDir folder;
    const OutputName target = outputName(folder / "a.jpg", "png");
    {
        PendingFile pending(target);
        EXPECT_EQ(name(pending.path()).rfind(".a.png-", 0), 0u) << pending.path();
        writeBytes(pending.path(), "partial");
        EXPECT_FALSE(fs::exists(folder / "a.png")) << "no final name before place()";
    }
    EXPECT_TRUE(namesIn(folder.path()).empty()) << "an abandoned file is removed";
    PendingFile empty(target);
    EXPECT_THROW(empty.place(), ConvertError) << "nothing written is a failed save";
}

TEST(PendingFileTest, ConcurrentWritersNeverShareAName) {
    TempDir folder;
    const OutputName target = outputName(folder / "shot.jpg", "png");
    std::vector<fs::path> placed(8);
    std::vector<std::thread> writers;
    for (size_t i = 0; i < placed.size(); ++i) {
        writers.emplace_back([&, i] {
            PendingFile pending(target);
            writeBytes(pending.path(), "writer " + std::to_string(i));
            placed[i] = pending.place();
        });
    }
    for (auto& writer : writers)
        writer.join();
    std::set<fs::path> distinct(placed.begin(), placed.end());
    EXPECT_EQ(distinct.size(), placed.size());
    for (size_t i = 0; i < placed.size(); ++i) {
        EXPECT_EQ(tavrino::test::readBytes(placed[i]), "writer " + std::to_string(i));
    }
    EXPECT_EQ(namesIn(folder.path()).size(), placed.size());
}

TEST(PendingFileTest, AFolderThatTakesNoFileGivesASaveFailure) {
    TempDir folder;
    const fs::path gone = folder / "gone";
    EXPECT_EQ(errorOf([&] { PendingFile pending(outputName(gone / "a.jpg", "png")); }),
              "파일 저장 실패: " + (gone / "a.png").string());
}

// Names a few bytes short of the limit: the result's name is longer than its source's, and
// the hidden work name longer still, yet both must fit and the result must appear.
class LongNameTest : public ::testing::Test {
  protected:
    static std::string koreanStem(size_t bytes) {
        std::string stem;
        while (stem.size() + 3 <= bytes)
            stem += "가";
        return stem + std::string(bytes - stem.size(), 'x');
    }
    static bool wholeUtf8(const std::string& text) { return !unusableFileName(text); }
    TempDir folder;
};

TEST_F(LongNameTest, ResultNamesFitAndKeepSuffixCounterAndExtension) {
    const fs::path source = folder / (std::string(246, 'x') + ".png");
    const fs::path first = toolOutputURL(source, "압축", "jpg");
    EXPECT_LE(name(first).size(), 255u);
    EXPECT_TRUE(name(first).ends_with(std::string(8, 'x') + " 압축.jpg")) << name(first);
    writeBytes(first, "x");
    const fs::path second = toolOutputURL(source, "압축", "jpg");
    EXPECT_TRUE(name(second).ends_with(" 압축 2.jpg")) << name(second);
    EXPECT_LE(name(second).size(), 255u);

    const fs::path korean = folder / (koreanStem(246) + ".png");
    for (const fs::path& result : {toolOutputURL(korean, "정보삭제", "png"), imageFolderURL(korean),
                                   outputURL(korean, "jpeg")}) {
        EXPECT_LE(name(result).size(), 255u) << name(result);
        EXPECT_TRUE(wholeUtf8(name(result))) << "a syllable was cut in half: " << name(result);
        EXPECT_TRUE(name(result).starts_with("가가가")) << name(result);
    }
}

TEST_F(LongNameTest, NamesThatFitAreLeftAsTheyAre) {
    const std::string stem = std::string(247, 'y');
    EXPECT_EQ(name(outputURL(folder / (stem + ".png"), "jpg")), stem + ".jpg");
    EXPECT_EQ(name(outputURL(folder / "a.png", "jpg")), "a.jpg");
}

TEST_F(LongNameTest, AFileAndAFolderArePlacedBesideALongSource) {
    const fs::path source = folder / (koreanStem(250 - 4) + ".png");
    writeBytes(source, "source");
    PendingFile pending(outputName(source, "jpg"));
    EXPECT_LE(name(pending.path()).size(), 255u);
    writeBytes(pending.path(), "result");
    const fs::path placed = pending.place();
    EXPECT_EQ(tavrino::test::readBytes(placed), "result");
    EXPECT_EQ(name(placed), name(source).substr(0, name(source).size() - 3) + "jpg");

    const fs::path pages = createImageFolder(source);
    EXPECT_TRUE(fs::is_directory(pages));
    EXPECT_LE(name(pages).size(), 255u);
    EXPECT_EQ(namesIn(folder.path()).size(), 3u) << "source, result and page folder only";
}

TEST_F(LongNameTest, CutNeverSplitsACharacter) {
    EXPECT_EQ(cutToBytes("가나다", 9), "가나다");
    EXPECT_EQ(cutToBytes("가나다", 8), "가나");
    EXPECT_EQ(cutToBytes("가나다", 6), "가나");
    EXPECT_EQ(cutToBytes("가나다", 2), "");
    EXPECT_EQ(cutToBytes("ab가", 4), "ab");
}

}  // namespace
