// applyTool: refusals, compress/resize/rotate judged with identify and exiftool, the clean-up
// after failed writes and the size notes.

#include <gtest/gtest.h>
#include <vips/vips.h>

#include <regex>

#include "ToolFixtures.h"
#include "convert/ConvertError.h"
#include "convert/Image.h"
#include "platform/HeifEncoder.h"
#include "support/Judges.h"
#include "support/TestFiles.h"
#include "tools/ByteCount.h"
#include "tools/Leftovers.h"
#include "tools/PixelTools.h"
#include "tools/Tools.h"

namespace fs = std::filesystem;
using namespace tavrino;
using namespace tavrino::test;

namespace {

std::string failureOf(Tool tool, const fs::path& file, ToolCheck check = ToolCheck::applicability) {
    return errorOf([&] { applyTool(tool, file, check); });
}

// The first band of the pixel at (x, y) of a decoded image.
int sampleAt(const fs::path& file, int x, int y) {
    const PixelBuffer pixels = loadImage(file).pixels();
    return pixels.bytes[(static_cast<size_t>(y) * pixels.width + x) * pixels.bands];
}

// A black picture with one white pixel in its top-left corner.
fs::path markedCorner(const fs::path& path, int width, int height) {
    PixelBuffer pixels{width, height, 3, std::vector<std::uint8_t>(width * height * 3, 0)};
    pixels.bytes[0] = pixels.bytes[1] = pixels.bytes[2] = 255;
    if (vips_image_write_to_file(Image::fromPixels(pixels).ref().get(), path.c_str(), nullptr)) {
        ADD_FAILURE() << vips_error_buffer();
    }
    return path;
}

}  // namespace

TEST(ApplyTool, RefusesWhatDoesNotApply) {
    TempDir folder;
    writePDF(folder / "report.pdf");
    writePDF(folder / "Scan.PDF");
    writeText(folder / "README", "text");
    EXPECT_EQ(failureOf(Tool::compress, folder / "report.pdf"),
              "압축은 이 파일(.pdf)에 쓸 수 없음");
    EXPECT_EQ(failureOf(Tool::compress, folder / "Scan.PDF"), "압축은 이 파일(.PDF)에 쓸 수 없음");
    EXPECT_EQ(failureOf(Tool::extractText, folder / "README"),
              "글자 추출은 이 파일(.)에 쓸 수 없음");
    // Crop and merge never run file by file, whatever the file.
    EXPECT_EQ(failureOf(Tool::crop, folder / "README", ToolCheck::none), "자르기는 따로 처리");
    EXPECT_EQ(failureOf(Tool::mergePDF, folder / "report.pdf", ToolCheck::none),
              "PDF 합치기는 따로 처리");
    // A blank page has nothing to read; a broken document fails with the reason of the
    // program that could not open it. Neither writes anything.
    EXPECT_EQ(failureOf(Tool::extractText, folder / "report.pdf"), "글자를 찾지 못함");
    writeText(folder / "letter.hwp", "not really");
    EXPECT_TRUE(failureOf(Tool::extractText, folder / "letter.hwp", ToolCheck::none)
                    .starts_with("한글 변환(pelgrin) 실패(1): "));
    fs::remove(folder / "letter.hwp");
    writeText(folder / "memo.docx", "PK");
    EXPECT_TRUE(failureOf(Tool::stripMetadata, folder / "memo.docx").starts_with("unzip 실패("));
    EXPECT_EQ(namesIn(folder.path()),
              (std::vector<std::string>{"README", "Scan.PDF", "memo.docx", "report.pdf"}));
}

TEST(ApplyTool, CompressChoosesJpegOrHeicByAlpha) {
    if (!haveProgram("identify")) GTEST_SKIP() << "identify";
    TempDir folder;
    const fs::path opaque = writeImage(folder / "flat.png", 64, 48, 3);
    const ToolResult jpeg = applyTool(Tool::compress, opaque);
    EXPECT_EQ(jpeg.output.filename(), "flat 압축.jpg");
    EXPECT_EQ(identify(jpeg.output)->format, "JPEG");
    EXPECT_EQ(jpeg.note, sizeChangeNote(fs::file_size(opaque), fs::file_size(jpeg.output)));

    if (!heicEncoderAvailable()) GTEST_SKIP() << "no HEIC encoder";
    // An alpha band counts even when every pixel is opaque.
    const fs::path clear = writeImage(folder / "clear.png", 64, 48, 4);
    EXPECT_EQ(applyTool(Tool::compress, clear).output.filename(), "clear 압축.heic");
    EXPECT_EQ(applyTool(Tool::compress, clear).output.filename(), "clear 압축 2.heic");
    // ImageMagick 6 does not report HEIC alpha; libheif through libvips does.
    EXPECT_TRUE(loadImage(folder / "clear 압축.heic").hasAlpha());
}

TEST(ApplyTool, ResizeAndRotateWorkOnTheUprightPicture) {
    if (!haveProgram("identify") || !haveProgram("exiftool")) GTEST_SKIP() << "identify/exiftool";
    TempDir folder;
    const fs::path photo = writeImage(folder / "photo.jpg", 40, 30);
    writeTags(photo, {"-Orientation=6", "-n"});
    const ToolResult half = applyTool(Tool::resize, photo);
    EXPECT_EQ(half.output.filename(), "photo 50%.jpg");
    EXPECT_EQ(half.note, "15×20");
    EXPECT_EQ(identify(half.output)->width, 15);
    EXPECT_EQ(exiftoolTags(half.output).find("Orientation"), std::string::npos);
    // Upright it is 30 × 40; a clockwise turn of that is 40 × 30, with no tag to turn it again.
    const ToolResult turned = applyTool(Tool::rotate, photo);
    EXPECT_EQ(identify(turned.output)->width, 40);
    EXPECT_EQ(exiftoolTags(turned.output).find("Orientation"), std::string::npos);

    EXPECT_EQ(applyTool(Tool::resize, writeImage(folder / "wide.png", 1001, 3)).note, "500×1");
    EXPECT_EQ(applyTool(Tool::resize, writeImage(folder / "dot.png", 1, 1)).note, "1×1");
    EXPECT_EQ(applyTool(Tool::resize, writeImage(folder / "scan.tif", 8, 8)).output.filename(),
              "scan 50%.tiff");
    EXPECT_EQ(applyTool(Tool::resize, writeImage(folder / "anim.gif", 8, 8)).output.filename(),
              "anim 50%.png");
    const ToolResult alpha = applyTool(Tool::resize, writeImage(folder / "alpha.png", 8, 8, 4));
    EXPECT_TRUE(identify(alpha.output)->alpha);
}

TEST(ApplyTool, RotateTurnsClockwiseAndFourTurnsGiveTheSourceBack) {
    TempDir folder;
    const fs::path source = markedCorner(folder / "mark.png", 4, 2);
    const ToolResult once = applyTool(Tool::rotate, source);
    EXPECT_EQ(once.output.filename(), "mark 회전.png");
    EXPECT_EQ(once.note, std::nullopt);
    const Image turned = loadImage(once.output);
    EXPECT_EQ(turned.width(), 2);
    EXPECT_EQ(turned.height(), 4);
    EXPECT_EQ(sampleAt(once.output, 1, 0), 255) << "the top-left corner goes to the top-right";
    EXPECT_EQ(sampleAt(once.output, 0, 0), 0);

    fs::path current = once.output;
    for (int turn = 2; turn <= 4; ++turn)
        current = applyTool(Tool::rotate, current).output;
    EXPECT_EQ(current.filename(), "mark 회전 회전 회전 회전.png");
    EXPECT_EQ(loadImage(current).pixels().bytes, loadImage(source).pixels().bytes);
}

TEST(ApplyTool, UndecodableImagesFailWithTheReadersMessage) {
    TempDir folder;
    writeText(folder / "broken.jpg", "\xFF\xD8\xFF garbage");
    EXPECT_EQ(failureOf(Tool::rotate, folder / "broken.jpg"), "이미지로 읽을 수 없음: broken.jpg");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"broken.jpg"});
}

TEST(RemoveLeftovers, RemovesTheOutputAndOnlyItsEmptyHiddenSiblings) {
    TempDir folder;
    const fs::path output = writeText(folder / "a 정보삭제.pdf", "partial");
    writeText(folder / ".a 정보삭제.pdf-x1y2", "");
    writeText(folder / ".a 정보삭제.pdf-full", "data");
    fs::create_directory(folder / ".a 정보삭제.pdf-dir");
    // The same name stored decomposed (as some file systems do) is still a sibling.
    writeText(folder / ".a \u110c\u1165\u11bc\u1107\u1169\u1109\u1161\u11a8\u110c\u1166.pdf-nfd",
              "");
    writeText(folder / "other.pdf", "");
    removeLeftovers(output);
    EXPECT_EQ(
        namesIn(folder.path()),
        (std::vector<std::string>{".a 정보삭제.pdf-dir", ".a 정보삭제.pdf-full", "other.pdf"}));
    removeLeftovers(folder / "missing" / "x.pdf");  // nothing there: no failure either
}

TEST(ByteCount, DecimalUnitsWithOneDecimal) {
    EXPECT_EQ(byteCountText(0), "0 bytes");
    EXPECT_EQ(byteCountText(1), "1 byte");
    EXPECT_EQ(byteCountText(999), "999 bytes");
    EXPECT_EQ(byteCountText(1000), "1.0 KB");
    EXPECT_EQ(byteCountText(4'200'000), "4.2 MB");
    EXPECT_EQ(byteCountText(1'149'999), "1.1 MB");
    EXPECT_EQ(byteCountText(999'949), "999.9 KB");
    EXPECT_EQ(byteCountText(999'950), "1.0 MB") << "never 1000.0 KB";
    EXPECT_EQ(byteCountText(1'500'000'000), "1.5 GB");
    EXPECT_EQ(sizeChangeNote(4'200'000, 1'100'000), "4.2 MB → 1.1 MB");
}
