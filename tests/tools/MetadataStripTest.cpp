// Metadata stripping of images and PDFs, judged by exiftool (only the orientation survives),
// identify (pixels unchanged), pdfinfo and qpdf --check.

#include <gtest/gtest.h>

#include <fstream>

#include "ToolFixtures.h"
#include "convert/ConvertError.h"
#include "support/Fixtures.h"
#include "support/Judges.h"
#include "support/TestFiles.h"
#include "tools/LosslessStrip.h"
#include "tools/Tools.h"

namespace fs = std::filesystem;
using namespace tavrino;
using namespace tavrino::test;

namespace {

const std::vector<std::string> identifyingTags{"-GPSLatitude=37.5",   "-GPSLatitudeRef=N",
                                               "-GPSLongitude=127.0", "-GPSLongitudeRef=E",
                                               "-Make=Canon",         "-Model=EOS R5",
                                               "-Artist=Kim",         "-XMP-dc:Creator=Kim",
                                               "-Orientation=6",      "-n"};

void expectOnlyOrientation(const fs::path& file, const std::string& orientation) {
    const std::vector<std::string> tags = metadataTags(file);
    ASSERT_EQ(tags.size(), 1u) << exiftoolTags(file);
    EXPECT_NE(tags[0].find("Orientation"), std::string::npos) << tags[0];
    EXPECT_NE(tags[0].find(orientation), std::string::npos) << tags[0];
}

std::string strip(const fs::path& file) {
    return applyTool(Tool::stripMetadata, file).output.filename().string();
}

class StripImage : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!haveProgram("exiftool") || !haveProgram("identify"))
            GTEST_SKIP() << "exiftool/identify";
    }
    TempDir folder;
};

}  // namespace

TEST_F(StripImage, JpegKeepsOrientationAndCompressedDataOnly) {
    const fs::path photo = writeImage(folder / "photo.jpg", 64, 48);
    std::vector<std::string> tags = identifyingTags;
    tags.insert(tags.end(), {"-IPTC:By-line=Kim", "-Comment=secret note"});
    writeTags(photo, tags);
    // A second picture appended after the end of the first (as phones append motion clips).
    { std::ofstream(photo, std::ios::app | std::ios::binary) << "TRAILER with GPS 37.5"; }
    const std::string before = readBytes(photo);

    EXPECT_EQ(strip(photo), "photo 정보삭제.jpg");
    const fs::path out = folder / "photo 정보삭제.jpg";
    expectOnlyOrientation(out, "Rotate 90 CW");
    EXPECT_EQ(pixelSignature(out), pixelSignature(photo));
    const std::string bytes = readBytes(out);
    EXPECT_EQ(bytes.find("secret note"), std::string::npos);
    EXPECT_EQ(bytes.find("TRAILER"), std::string::npos);
    EXPECT_EQ(readBytes(photo), before) << "the source must not change";
}

TEST_F(StripImage, PngDropsTextAndExifChunks) {
    const fs::path png = writeImage(folder / "shot.png", 20, 10, 4);
    std::vector<std::string> tags = identifyingTags;
    tags.insert(tags.end(), {"-PNG:Author=Kim", "-PNG:Comment=secret"});
    writeTags(png, tags);
    EXPECT_EQ(strip(png), "shot 정보삭제.png");
    const fs::path out = folder / "shot 정보삭제.png";
    expectOnlyOrientation(out, "Rotate 90 CW");
    EXPECT_EQ(pixelSignature(out), pixelSignature(png));
    EXPECT_TRUE(identify(out)->alpha);
}

TEST_F(StripImage, TiffKeepsEveryPage) {
    const fs::path tiff = writeFrames(folder / "scan.tif", 3, 24, 16);
    writeTags(tiff, identifyingTags);
    EXPECT_EQ(strip(tiff), "scan 정보삭제.tif");
    const fs::path out = folder / "scan 정보삭제.tif";
    EXPECT_EQ(pixelSignature(out), pixelSignature(tiff));
    EXPECT_EQ(identify(out)->frames, 3);
    EXPECT_NE(exiftoolTags(out).find("Orientation                     : Rotate 90 CW"),
              std::string::npos);
    for (const std::string& tag : metadataTags(out)) {
        EXPECT_EQ(tag.find("Canon"), std::string::npos) << tag;
        EXPECT_EQ(tag.find("GPS"), std::string::npos) << tag;
        EXPECT_EQ(tag.find("Kim"), std::string::npos) << tag;
    }
}

TEST_F(StripImage, HeifLosesExifAndXmpItems) {
    const fs::path heic = writeImage(folder / "IMG.HEIC", 64, 64);
    writeTags(heic, {"-GPSLatitude=37.5", "-GPSLatitudeRef=N", "-Make=Apple", "-Model=iPhone",
                     "-XMP-dc:Creator=Kim"});
    ASSERT_FALSE(metadataTags(heic).empty());
    EXPECT_EQ(strip(heic), "IMG 정보삭제.HEIC");
    const fs::path out = folder / "IMG 정보삭제.HEIC";
    for (const std::string& tag : metadataTags(out)) {
        EXPECT_TRUE(tag.find("GPS") == std::string::npos &&
                    tag.find("Apple") == std::string::npos && tag.find("Kim") == std::string::npos)
            << tag;
    }
    EXPECT_EQ(readBytes(out).find("iPhone"), std::string::npos);
    EXPECT_EQ(fs::file_size(out), fs::file_size(heic)) << "offsets must not move";
    EXPECT_EQ(pixelSignature(out), pixelSignature(heic));
}

TEST_F(StripImage, BmpIsWrittenAgainUnderTheCapitalsOfItsName) {
    const fs::path bmp = writeBMP(folder / "Logo.BMP", 9, 5);
    const ToolResult result = applyTool(Tool::stripMetadata, bmp);
    EXPECT_EQ(result.output.filename(), "Logo 정보삭제.BMP");
    EXPECT_EQ(result.note, "다시 저장(무손실)");
    EXPECT_EQ(pixelSignature(result.output), pixelSignature(bmp));
}

TEST_F(StripImage, GifReachedWithoutTheCheckKeepsItsExtension) {
    const fs::path gif = writeImage(folder / "still.gif", 16, 12);
    writeTags(gif, {"-GIF:Comment=secret", "-XMP-dc:Creator=Kim"});
    ASSERT_NE(exiftoolTags(gif).find("Kim"), std::string::npos);
    const ToolResult result = applyTool(Tool::stripMetadata, gif, ToolCheck::none);
    EXPECT_EQ(result.output.filename(), "still 정보삭제.gif");
    const std::string tags = exiftoolTags(result.output);
    EXPECT_EQ(tags.find("Kim"), std::string::npos) << tags;
    EXPECT_EQ(tags.find("secret"), std::string::npos) << tags;
    EXPECT_EQ(pixelSignature(result.output), pixelSignature(gif));
}

TEST_F(StripImage, DamagedImagesLeaveNothingBehind) {
    const fs::path photo = writeImage(folder / "cut.jpg", 64, 48);
    fs::resize_file(photo, fs::file_size(photo) / 2);
    writeText(folder / "fake.png", "not a picture");
    writeText(folder / "empty.tiff", "");
    const std::vector<std::string> namesBefore = namesIn(folder.path());
    for (const char* name : {"cut.jpg", "fake.png", "empty.tiff"}) {
        EXPECT_EQ(errorOf([&] { applyTool(Tool::stripMetadata, folder / name); }),
                  "이미지로 읽을 수 없음")
            << name;
    }
    EXPECT_EQ(namesIn(folder.path()), namesBefore);
}

// Every prefix of a well-formed file is either refused or stripped into a smaller-or-equal
// file; none may read outside its input (the sanitizer build watches).
TEST(LosslessStrip, TruncatedInputsAreRefusedOrHandled) {
    TempDir folder;
    const std::string jpeg = readBytes(writeImage(folder / "a.jpg", 16, 16));
    const std::string png = readBytes(writeImage(folder / "a.png", 16, 16, 4));
    const std::string heif = readBytes(writeImage(folder / "a.heic", 16, 16));
    const std::string gif = readBytes(writeImage(folder / "a.gif", 16, 16));
    ASSERT_TRUE(strippedJpeg(jpeg) && strippedPng(png) && strippedHeif(heif) && strippedGif(gif));
    for (size_t n = 0; n < gif.size(); ++n)
        EXPECT_FALSE(strippedGif(gif.substr(0, n))) << n;
    for (size_t n = 0; n < jpeg.size(); ++n)
        EXPECT_FALSE(strippedJpeg(jpeg.substr(0, n))) << n;
    for (size_t n = 0; n < png.size(); ++n)
        EXPECT_FALSE(strippedPng(png.substr(0, n))) << n;
    for (size_t n = 0; n < heif.size(); n += 7) {
        EXPECT_FALSE(strippedHeif(heif.substr(0, n))) << n;
    }
    // Cut exactly where the picture data begins: every box still parses.
    EXPECT_FALSE(strippedHeif(heif.substr(0, heif.find("mdat") - 4)));
}

// A TIFF whose directory comes first (as many scanners write it): cutting it anywhere
// cuts into the pixel data, which must be refused, not copied half-way.
TEST(LosslessStrip, TruncatedTiffIsRefused) {
    std::string tiff("II*\0\x08\0\0\0", 8);
    const auto put = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            tiff += static_cast<char>(value >> (8 * i) & 0xFF);
    };
    const std::uint32_t side = 32, entries = 8, dataAt = 8 + 2 + entries * 12 + 4;
    put(entries, 2);
    for (auto [tag, value] :
         std::vector<std::pair<std::uint32_t, std::uint32_t>>{{256, side},
                                                              {257, side},
                                                              {258, 8},
                                                              {259, 1},
                                                              {262, 1},
                                                              {273, dataAt},
                                                              {278, side},
                                                              {279, side * side}}) {
        put(tag, 2);
        put(4, 2);  // LONG
        put(1, 4);
        put(value, 4);
    }
    put(0, 4);
    tiff += std::string(side * side, '\x80');
    ASSERT_TRUE(strippedTiff(tiff));
    for (size_t n = dataAt; n < tiff.size(); n += 97)
        EXPECT_FALSE(strippedTiff(tiff.substr(0, n))) << n;
}

// Damaged bytes anywhere (a length, a box size, a chunk type) must be refused or yield a
// file no larger than the source plus the new orientation block; never a read outside.
TEST(LosslessStrip, CorruptedBytesNeverReadOutside) {
    TempDir folder;
    struct Case {
        std::string bytes;
        std::optional<std::string> (*strip)(std::string_view);
    };
    const std::vector<Case> cases{{readBytes(writeImage(folder / "a.jpg", 16, 16)), strippedJpeg},
                                  {readBytes(writeImage(folder / "a.png", 16, 16, 4)), strippedPng},
                                  {readBytes(writeImage(folder / "a.heic", 16, 16)), strippedHeif},
                                  {readBytes(writeImage(folder / "a.gif", 16, 16)), strippedGif}};
    for (const Case& c : cases) {
        for (size_t at = 0; at < c.bytes.size(); at += 3) {
            for (char value : {'\x00', '\xFF', '\x7F'}) {
                std::string damaged = c.bytes;
                damaged[at] = value;
                if (const auto out = c.strip(damaged)) {
                    EXPECT_LE(out->size(), damaged.size() + 64) << at;
                }
            }
        }
    }
}

TEST(StripPdf, InformationAndXmpAreGone) {
    if (!haveProgram("exiftool") || !haveProgram("pdfinfo") || !haveProgram("qpdf")) GTEST_SKIP();
    TempDir folder;
    const fs::path pdf = writeTextPDF(folder / "report.pdf", {"page one"});
    writeTags(pdf, {"-PDF:Title=Budget", "-PDF:Author=Kim Minji", "-XMP-dc:Creator=Kim Minji"});
    ASSERT_NE(runProgram({"pdfinfo", pdf.string()}).out.find("Kim Minji"), std::string::npos);

    const ToolResult result = applyTool(Tool::stripMetadata, pdf);
    EXPECT_EQ(result.output.filename(), "report 정보삭제.pdf");
    EXPECT_EQ(result.note, std::nullopt);
    const std::string info = runProgram({"pdfinfo", result.output.string()}).out;
    EXPECT_EQ(info.find("Title:"), std::string::npos) << info;
    EXPECT_EQ(info.find("Author:"), std::string::npos) << info;
    EXPECT_EQ(runProgram({"qpdf", "--check", result.output.string()}).status, 0);
    // Not hidden in an old revision or an object stream either.
    const std::string flat =
        runProgram({"qpdf", "--qdf", "--object-streams=disable", result.output.string(), "-"}).out;
    EXPECT_EQ(flat.find("Kim Minji"), std::string::npos);
    EXPECT_EQ(pdfText(result.output), "page one");
}

TEST(StripPdf, UnreadablePdfIsRefused) {
    TempDir folder;
    writeText(folder / "broken.pdf", "%PDF-1.4\nthis is not a document");
    EXPECT_EQ(errorOf([&] { applyTool(Tool::stripMetadata, folder / "broken.pdf"); }),
              "PDF를 열 수 없음");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"broken.pdf"});
}
