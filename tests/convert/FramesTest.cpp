#include "convert/Frames.h"

#include <gtest/gtest.h>

#include "convert/ConvertError.h"
#include "convert/ConvertFile.h"
#include "support/Fixtures.h"
#include "support/Judges.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;
using namespace tavrino;
using namespace tavrino::test;

namespace {

TEST(FramesTest, FrameCountPredicatesGoByExtensionAndCount) {
    TempDir folder;
    writeMultiPage(folder / "two.gif", 2, 8, 8);
    writePicture(folder / "one.gif", 8, 8);
    writeMultiPage(folder / "two.tif", 2, 8, 8);
    writePicture(folder / "one.tiff", 8, 8);
    fs::copy_file(folder / "two.gif", folder / "TWO.GIF");
    fs::copy_file(folder / "two.tif", folder / "TWO.TIF");
    fs::copy_file(folder / "two.tif", folder / "two.png");

    EXPECT_TRUE(isAnimatedGIF(folder / "two.gif"));
    EXPECT_TRUE(isAnimatedGIF(folder / "TWO.GIF"));
    EXPECT_FALSE(isMultiPageTIFF(folder / "two.gif"));
    EXPECT_FALSE(isAnimatedGIF(folder / "one.gif"));
    EXPECT_FALSE(isMultiPageTIFF(folder / "one.gif"));

    EXPECT_TRUE(isMultiPageTIFF(folder / "two.tif"));
    EXPECT_TRUE(isMultiPageTIFF(folder / "TWO.TIF"));
    EXPECT_FALSE(isAnimatedGIF(folder / "two.tif"));
    EXPECT_FALSE(isMultiPageTIFF(folder / "one.tiff"));
    EXPECT_FALSE(isMultiPageTIFF(folder / "two.png")) << "the extension decides";
    EXPECT_FALSE(isMultiPageTIFF(folder / "missing.tif"));
}

TEST(FramesTest, MultiPageTiffGivesAFolderOfFramesOrOnePdf) {
    TAVRINO_REQUIRE_TOOL("identify");
    TAVRINO_REQUIRE_TOOL("pdfinfo");
    TempDir folder;
    const fs::path scan = folder / "scan.tif";
    writeMultiPage(scan, 2, 30, 20);
    const fs::path pages = convertFile(scan, Fmt::png);
    EXPECT_EQ(pages.filename(), "scan 이미지");
    for (const char* name : {"scan 1.png", "scan 2.png"}) {
        const auto id = identify(pages / name);
        ASSERT_TRUE(id) << name;
        EXPECT_EQ(id->width, 30);
        EXPECT_EQ(id->height, 20);
    }
    const fs::path pdf = convertFile(scan, Fmt::pdf);
    EXPECT_EQ(pdf.filename(), "scan.pdf");
    const auto info = pdfinfo(pdf);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->pages, 2);
    EXPECT_DOUBLE_EQ(info->width, 30);
    EXPECT_DOUBLE_EQ(info->height, 20);
}

TEST(FramesTest, FramesAreReadInOrderAndSingleImagesComeUpright) {
    TempDir folder;
    writeMultiPage(folder / "scan.tiff", 3, 10, 4);
    const std::vector<Image> frames = imageFrames(folder / "scan.tiff");
    ASSERT_EQ(frames.size(), 3u);
    // The gradient's green rises downward through the stacked pages.
    const auto green = [](const Image& image) { return image.pixels().bytes[1]; };
    EXPECT_LT(green(frames[0]), green(frames[1]));
    EXPECT_LT(green(frames[1]), green(frames[2]));

    writePicture(folder / "single.png", 12, 5);
    const std::vector<Image> single = imageFrames(folder / "single.png");
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0].width(), 12);
}

TEST(FramesTest, NoFramesIsAnError) {
    TempDir folder;
    EXPECT_EQ(errorOf([&] { convertImageFrames(folder / "scan.tif", {}, Fmt::png); }),
              "그림 장을 읽지 못함");
    EXPECT_TRUE(namesIn(folder.path()).empty());
}

TEST(FramesTest, TransparentFramesTurnWhiteForJpg) {
    TempDir folder;
    std::vector<Image> frames;
    writePicture(folder / "clear.png", 20, 10, 4);
    frames.push_back(loadImage(folder / "clear.png"));
    frames.push_back(loadImage(folder / "clear.png"));
    const fs::path pages = convertImageFrames(folder / "clear.tif", frames, Fmt::jpg);
    for (const char* name : {"clear 1.jpg", "clear 2.jpg"}) {
        const std::vector<int> corner = pixelAt(pages / name, 1, 5);
        ASSERT_EQ(corner.size(), 3u);
        EXPECT_GT(corner[0], 250) << name;
    }
}

}  // namespace
