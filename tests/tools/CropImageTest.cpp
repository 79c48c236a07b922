// Writing a crop: the whole pixels of the rectangle, read the right way up, in the source's
// format; JPEG and BMP opaque, PNG transparent, HEIC staying HEIC; the log line naming the
// size written; tavrino-cli crop as a script sees it.

#include <gtest/gtest.h>

#include <cmath>

#include "ToolFixtures.h"
#include "convert/ConvertError.h"
#include "convert/Image.h"
#include "platform/HeifEncoder.h"
#include "support/Fixtures.h"
#include "support/Judges.h"
#include "support/LogCapture.h"
#include "support/Process.h"
#include "support/TestFiles.h"
#include "tools/CropImage.h"

namespace fs = std::filesystem;
using namespace tavrino;
using namespace tavrino::test;

namespace {

std::string failureOf(const fs::path& file, const crop::Rect& rect) {
    return errorOf([&] { cropImage(file, rect); });
}

}  // namespace

TEST(CropArea, WholePixelsAroundTheRectangleClippedToTheImage) {
    EXPECT_EQ(pixelArea({10.5, 5.2, 100, 50.3}, 400, 300), (PixelArea{10, 5, 101, 51}));
    EXPECT_EQ(pixelArea({-30, 250, 100, 100}, 400, 300), (PixelArea{0, 250, 70, 50}));
    EXPECT_EQ(pixelArea({0, 0, 1e300, 1e300}, 400, 300), (PixelArea{0, 0, 400, 300}));
    EXPECT_FALSE(pixelArea({400, 0, 10, 10}, 400, 300));  // just beyond the right edge
    EXPECT_FALSE(pixelArea({10, 10, 0, 10}, 400, 300));   // no area
    EXPECT_FALSE(pixelArea({-50, -50, 20, 20}, 400, 300));
    EXPECT_FALSE(pixelArea({0, 0, std::nan(""), 10}, 400, 300));
}

TEST(CropImage, CutsTheRectangleOutInTheSourcesFormat) {
    TempDir folder;
    const fs::path source = writeImage(folder / "shot.png", 120, 80, 4);
    const std::string before = readBytes(source);
    const CropResult result = cropImage(source, {50.5, 10, 40, 30.2});
    EXPECT_EQ(result.output, folder / "shot 자름.png");
    EXPECT_EQ(result.area, (PixelArea{50, 10, 41, 31}));
    const auto seen = identify(result.output);
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->format, "PNG");
    EXPECT_EQ(seen->width, 41);
    EXPECT_EQ(seen->height, 31);
    // The pixels are the source's, shifted by the crop's origin; the left part (x < 60 in
    // the source) is transparent and stays so.
    EXPECT_EQ(pixelAt(result.output, 0, 0), pixelAt(source, 50, 10));
    EXPECT_EQ(pixelAt(result.output, 40, 30), pixelAt(source, 90, 40));
    EXPECT_EQ(pixelAt(result.output, 0, 0).back(), 0);
    EXPECT_EQ(pixelAt(result.output, 40, 0).back(), 255);

    EXPECT_EQ(cropImage(source, {0, 0, 20, 20}).output, folder / "shot 자름 2.png");
    EXPECT_EQ(readBytes(source), before);
}

TEST(CropImage, JpegAndBmpAreOpaqueAndHeicStaysHeic) {
    TempDir folder;
    const fs::path jpeg = writeImage(folder / "photo.jpeg", 60, 40);
    const CropResult fromJpeg = cropImage(jpeg, {0, 0, 30, 20});
    EXPECT_EQ(fromJpeg.output.filename(), "photo 자름.jpg");
    const auto seenJpeg = identify(fromJpeg.output);
    ASSERT_TRUE(seenJpeg);
    EXPECT_EQ(seenJpeg->format, "JPEG");
    EXPECT_FALSE(seenJpeg->alpha);

    // A BMP with an alpha channel: its transparent left half comes out white.
    const fs::path bmp = folder / "icon.bmp";
    writePicture(bmp, 40, 20, 4);
    ASSERT_TRUE(loadImage(bmp).hasAlpha());
    const CropResult fromBmp = cropImage(bmp, {0, 0, 10, 10});
    EXPECT_EQ(fromBmp.output.filename(), "icon 자름.bmp");
    EXPECT_FALSE(loadImage(fromBmp.output).hasAlpha());
    EXPECT_EQ(pixelAt(fromBmp.output, 5, 5), (std::vector<int>{255, 255, 255}));

    if (!heicEncoderAvailable()) GTEST_SKIP() << "no HEIC encoder";
    const fs::path heic = writeImage(folder / "photo.heic", 64, 48);
    const CropResult fromHeic = cropImage(heic, {8, 8, 32, 24});
    EXPECT_EQ(fromHeic.output.filename(), "photo 자름.heic");
    const auto seenHeic = identify(fromHeic.output);
    ASSERT_TRUE(seenHeic);
    EXPECT_EQ(seenHeic->format, "HEIC");
    EXPECT_EQ(seenHeic->width, 32);
    EXPECT_EQ(seenHeic->height, 24);
}

TEST(CropImage, RectangleCountsInThePictureTheRightWayUp) {
    TAVRINO_REQUIRE_TOOL("exiftool");
    TempDir folder;
    const fs::path photo = writeImage(folder / "turned.jpg", 80, 40);
    writeTags(photo, {"-Orientation=6", "-n"});  // shown turned: 40 wide, 80 high
    const CropResult result = cropImage(photo, {0, 10, 40, 60});
    const auto seen = identify(result.output);
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->width, 40);
    EXPECT_EQ(seen->height, 60);
    EXPECT_EQ(exiftoolTags(result.output).find("Orientation"), std::string::npos);
}

TEST(CropImage, NothingToCutOrNothingToReadWritesNothing) {
    TempDir folder;
    const fs::path source = writeImage(folder / "a.png", 40, 30);
    EXPECT_EQ(failureOf(source, {40, 0, 10, 10}), "자를 영역이 비어 있음");
    EXPECT_EQ(failureOf(source, {5, 5, 0, 0}), "자를 영역이 비어 있음");
    writeBytes(folder / "broken.png", "\x89PNG\r\n\x1a\n not really");
    EXPECT_EQ(failureOf(folder / "broken.png", {0, 0, 10, 10}),
              "이미지로 읽을 수 없음: broken.png");
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"a.png", "broken.png"}));
}

TEST(CropImage, LogNamesTheSizeThatWasWritten) {
    TempDir folder;
    const fs::path source = writeImage(folder / "a.png", 200, 100);
    LogCapture captured;
    const auto result = cropAndLog(source, {10.5, 0, 50, 20.5});
    ASSERT_TRUE(result);
    EXPECT_EQ(identify(result->output)->width, 51);
    EXPECT_FALSE(cropAndLog(source, {300, 0, 10, 10}));
    EXPECT_EQ(captured.messages(),
              (std::vector<std::string>{"자르기 완료: a.png -> a 자름.png 51x21",
                                        "자르기 실패: a.png: 자를 영역이 비어 있음"}));
}

TEST(CropCommand, WritesTheRectangleAndSaysSo) {
    TempDir folder;
    const fs::path source = writeImage(folder / "사진.png", 120, 90);
    const ProcessResult done = runCli({"crop", "10,20,50,40", source.string()});
    EXPECT_EQ(done.status, 0) << done.err;
    EXPECT_NE(done.out.find("자르기 완료: 사진.png -> 사진 자름.png 50x40"), std::string::npos)
        << done.out;
    const auto seen = identify(folder / "사진 자름.png");
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->width, 50);
    EXPECT_EQ(seen->height, 40);

    const ProcessResult empty = runCli({"crop", "500,0,10,10", source.string()});
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.out.find("자르기 실패: 사진.png: 자를 영역이 비어 있음"), std::string::npos);

    const fs::path pdf = writePDF(folder / "report.pdf");
    const ProcessResult refused = runCli({"crop", "0,0,10,10", pdf.string()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.out.find("자르기는 이 파일(.pdf)에 쓸 수 없음"), std::string::npos);

    for (const char* malformed : {"1,2,3", "1,2,3,4,5", "a,b,c,d", "0,0,-5,5", "0,0,inf,1"}) {
        EXPECT_EQ(runCli({"crop", malformed, source.string()}).status, 2) << malformed;
    }
    EXPECT_EQ(runCli({"crop", "0,0,5,5"}).status, 2);
    EXPECT_EQ(namesIn(folder.path()),
              (std::vector<std::string>{"report.pdf", "사진 자름.png", "사진.png"}));
}
