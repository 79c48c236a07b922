// Per-file verdicts: what runs, what is skipped as already done, what is refused.

#include <gtest/gtest.h>

#include "menu/MenuRules.h"
#include "support/TestFiles.h"

namespace tavrino {
namespace {

class Applying : public ::testing::Test {
  protected:
    void TearDown() override {
        removeBackgroundSupported = [] { return false; };
    }
    test::TempDir dir;
};

TEST_F(Applying, FilesAlreadyInTheTargetFormatAreSkippedBeforeAnyKindTest) {
    EXPECT_EQ(applies(ConvertItem{Fmt::jpg}, test::writeImage(dir / "a.jpeg")), Applies::skip);
    EXPECT_EQ(applies(ConvertItem{Fmt::tiff}, test::writeImage(dir / "b.TIF")), Applies::skip);
    EXPECT_EQ(applies(DocumentItem{DocTarget::txt}, test::writeText(dir / "c.txt", "x")),
              Applies::skip);
    EXPECT_EQ(applies(CommonItem{"txt"}, test::writeText(dir / "d.txt", "x")), Applies::skip);
    EXPECT_EQ(applies(ConvertItem{Fmt::png}, test::writeText(dir / "e.txt", "x")), Applies::no);
}

TEST_F(Applying, DirectoriesAreRefusedByEveryItem) {
    std::filesystem::create_directory(dir / "pages.pdf");
    std::filesystem::create_directory(dir / "photo.png");
    for (const auto& folder : {dir / "pages.pdf", dir / "photo.png"}) {
        EXPECT_EQ(applies(ConvertItem{Fmt::png}, folder), Applies::no);
        EXPECT_EQ(applies(ConvertItem{Fmt::pdf}, folder), Applies::no) << "not even a skip";
        EXPECT_EQ(applies(ToolItem{Tool::rotate}, folder), Applies::no);
        EXPECT_EQ(applies(CommonItem{"pdf"}, folder), Applies::no);
        EXPECT_EQ(applies(CommonItem{"png"}, folder), Applies::no);
    }
}

TEST_F(Applying, MixedTargetsMapToTheSpecificItemOfEachKind) {
    const auto hwp = dir / "a.hwp";
    const auto docx = dir / "b.docx";
    const auto png = test::writeImage(dir / "c.png");
    EXPECT_EQ(specificItem(CommonItem{"pdf"}, hwp), WheelItem{DocumentItem{DocTarget::pdf}});
    EXPECT_EQ(specificItem(CommonItem{"hwp"}, docx), WheelItem{FromWordItem{DocTarget::hwp}});
    EXPECT_EQ(specificItem(CommonItem{"jpg"}, png), WheelItem{ConvertItem{Fmt::jpg}});
    EXPECT_EQ(specificItem(CommonItem{"heic"}, hwp), WheelItem{CommonItem{"heic"}});
    EXPECT_EQ(specificItem(ToolItem{Tool::crop}, hwp), WheelItem{ToolItem{Tool::crop}});

    EXPECT_EQ(applies(CommonItem{"heic"}, hwp), Applies::no) << "HEIC is no document target";
    EXPECT_EQ(applies(CommonItem{"pdf"}, hwp), Applies::run);
    EXPECT_EQ(applies(CommonItem{"docx"}, hwp), Applies::run);
    EXPECT_EQ(applies(CommonItem{"docx"}, docx), Applies::skip);
    EXPECT_EQ(applies(CommonItem{"txt"}, png), Applies::no);
}

TEST_F(Applying, WordFilesAreNeverOfferedAWordTarget) {
    const auto docx = dir / "report.DOCX";
    EXPECT_EQ(fileKind(docx), FileKind::docx);
    EXPECT_EQ(applies(FromWordItem{DocTarget::hwpx}, docx), Applies::run);
    EXPECT_EQ(applies(FromWordItem{DocTarget::docx}, docx), Applies::skip);
    EXPECT_EQ(applies(FromWordItem{DocTarget::pdf}, dir / "a.hwp"), Applies::no);
    EXPECT_EQ(applies(DocumentItem{DocTarget::pdf}, docx), Applies::no);
}

TEST_F(Applying, ToolsFollowTheKindAndTheFrames) {
    removeBackgroundSupported = [] { return true; };
    const auto multi = test::writeFrames(dir / "scan.tiff", 2);
    const auto anim = test::writeFrames(dir / "wave.gif", 2);
    const auto still = test::writeImage(dir / "still.gif");
    EXPECT_EQ(applies(ToolItem{Tool::rotate}, multi), Applies::no);
    EXPECT_EQ(applies(ToolItem{Tool::mergePDF}, multi), Applies::run);
    EXPECT_EQ(applies(ConvertItem{Fmt::png}, multi), Applies::run) << "converted page by page";
    EXPECT_EQ(applies(ToolItem{Tool::extractText}, anim), Applies::no);
    EXPECT_EQ(applies(ConvertItem{Fmt::png}, anim), Applies::no);
    EXPECT_EQ(applies(ToolItem{Tool::stripMetadata}, still), Applies::no);
    EXPECT_EQ(applies(ToolItem{Tool::removeBackground}, still), Applies::run);
    EXPECT_EQ(applies(ToolItem{Tool::crop}, test::writePDF(dir / "a.pdf")), Applies::no);
    EXPECT_EQ(applies(ToolItem{Tool::stripMetadata}, dir / "a.hwp"), Applies::no);
    removeBackgroundSupported = [] { return false; };
    EXPECT_EQ(applies(ToolItem{Tool::removeBackground}, still), Applies::no);
}

// A TIFF that cannot be read has no frames: it is treated as a still image, never an error.
// A GIF has no format of its own, so it is an image only when its content reads as one.
TEST_F(Applying, UnreadableFilesAreJudgedByWhatIsKnownWithoutError) {
    const auto emptyTiff = test::writeText(dir / "empty.tiff", "");
    const auto brokenTiff = test::writeText(dir / "broken.tif", "II*\0garbage");
    EXPECT_EQ(applies(ToolItem{Tool::rotate}, emptyTiff), Applies::run);
    EXPECT_EQ(applies(ConvertItem{Fmt::png}, brokenTiff), Applies::run);
    EXPECT_EQ(applies(ConvertItem{Fmt::png}, dir / "missing.tiff"), Applies::run);

    const auto brokenGif = test::writeText(dir / "broken.gif", "GIF89a but not really");
    EXPECT_EQ(fileKind(brokenGif), FileKind::other);
    EXPECT_EQ(applies(ConvertItem{Fmt::png}, brokenGif), Applies::no);
    EXPECT_EQ(fileKind(dir / "missing.gif"), FileKind::other);
}

TEST_F(Applying, EmptyDropGivesEmptyMenus) {
    EXPECT_TRUE(menuItems({}, MenuKind::convert).empty());
    EXPECT_TRUE(menuItems({}, MenuKind::tools).empty());
}

}  // namespace
}  // namespace tavrino
