#include "convert/ConvertFile.h"

#include <gtest/gtest.h>

#include "convert/ConvertError.h"
#include "convert/Image.h"
#include "support/Fixtures.h"
#include "support/Judges.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;
using namespace tavrino;
using namespace tavrino::test;

namespace {

bool nearWhite(const std::vector<int>& pixel) {
    for (size_t i = 0; i < std::min<size_t>(pixel.size(), 3); ++i) {
        if (pixel[i] < 250) return false;
    }
    return true;
}

// Transparent areas turn white where the format has no alpha, and stay transparent where it
// has; the opaque half keeps its colour either way.
TEST(ConvertFileTest, TransparencyIsFlattenedOnlyWhereTheFormatCannotHoldIt) {
    TAVRINO_REQUIRE_TOOL("identify");
    TempDir folder;
    const fs::path source = folder / "clear.png";
    writePicture(source, 40, 20, 4);
    for (Fmt fmt : {Fmt::jpg, Fmt::bmp}) {
        const fs::path out = convertFile(source, fmt);
        const auto id = identify(out);
        ASSERT_TRUE(id) << out;
        EXPECT_FALSE(id->alpha) << out;
        EXPECT_EQ(id->width, 40);
        EXPECT_TRUE(nearWhite(pixelAt(out, 2, 10))) << out;
        EXPECT_FALSE(nearWhite(pixelAt(out, 38, 10))) << out;
    }
    for (Fmt fmt : {Fmt::tiff, Fmt::heic}) {
        const fs::path out = convertFile(source, fmt);
        const std::vector<int> transparent = pixelAt(out, 2, 10);
        ASSERT_EQ(transparent.size(), 4u) << out;
        EXPECT_EQ(transparent[3], 0) << out;
        EXPECT_EQ(pixelAt(out, 38, 10)[3], 255) << out;
    }
    EXPECT_EQ(identify(folder / "clear.tiff")->format, "TIFF");
    EXPECT_EQ(identify(folder / "clear.heic")->format, "HEIC");
    EXPECT_EQ(identify(folder / "clear.bmp")->format.substr(0, 3), "BMP");
}

TEST(ConvertFileTest, ImageToPdfIsOnePageOfThePixelSizeInPoints) {
    TAVRINO_REQUIRE_TOOL("pdfinfo");
    TempDir folder;
    writePicture(folder / "wide.png", 1000, 500, 4);
    const fs::path pdf = convertFile(folder / "wide.png", Fmt::pdf);
    const auto info = pdfinfo(pdf);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->pages, 1);
    EXPECT_DOUBLE_EQ(info->width, 1000);
    EXPECT_DOUBLE_EQ(info->height, 500);
    EXPECT_NE(readBytes(pdf).find("/SMask"), std::string::npos) << "transparency kept";
}

TEST(ConvertFileTest, JpegGoesIntoPdfAsItIsWithoutItsMetadata) {
    TAVRINO_REQUIRE_TOOL("exiftool");
    TAVRINO_REQUIRE_TOOL("pdfinfo");
    TempDir folder;
    const fs::path photo = folder / "photo.jpg";
    writePicture(photo, 64, 48);
    ASSERT_EQ(runProgram({"exiftool", "-q", "-overwrite_original", "-Make=Tavrino Test Camera",
                          "-GPSLatitude=37.56", "-GPSLatitudeRef=N", photo.string()})
                  .status,
              0);
    const fs::path pdf = convertFile(photo, Fmt::pdf);
    const std::string bytes = readBytes(pdf);
    EXPECT_NE(bytes.find("/DCTDecode"), std::string::npos);
    EXPECT_EQ(bytes.find("Tavrino Test Camera"), std::string::npos);
    EXPECT_EQ(bytes.find("Exif"), std::string::npos);
    EXPECT_DOUBLE_EQ(pdfinfo(pdf)->width, 64);
}

TEST(ConvertFileTest, OnePagePdfRendersAtTwiceItsSizeTruncated) {
    TAVRINO_REQUIRE_TOOL("identify");
    TempDir folder;
    writeBytes(folder / "a4.pdf", pdfBytes({blackPage(595.5, 841.89)}));
    const fs::path png = convertFile(folder / "a4.pdf", Fmt::png);
    EXPECT_EQ(png.filename(), "a4.png") << "one page gives a file, not a folder";
    const auto id = identify(png);
    ASSERT_TRUE(id);
    EXPECT_EQ(id->width, 1191);
    EXPECT_EQ(id->height, 1683);
}

// The stored pixels are kept as they are and no tag of the source survives: no orientation,
// no camera, no location.
TEST(ConvertFileTest, OutputsCarryNoMetadataAndKeepTheStoredOrientation) {
    TAVRINO_REQUIRE_TOOL("exiftool");
    TAVRINO_REQUIRE_TOOL("identify");
    TempDir folder;
    const fs::path photo = folder / "turned.jpg";
    writePicture(photo, 60, 40);
    ASSERT_EQ(runProgram({"exiftool", "-q", "-overwrite_original", "-Orientation#=6",
                          "-Make=Tavrino Test Camera", "-Model=T1", "-GPSLatitude=37.56",
                          "-GPSLatitudeRef=N", "-GPSLongitude=126.97", "-GPSLongitudeRef=E",
                          photo.string()})
                  .status,
              0);
    ASSERT_NE(exiftoolTags(photo).find("Orientation"), std::string::npos);
    for (Fmt fmt : {Fmt::png, Fmt::tiff, Fmt::heic, Fmt::bmp}) {
        const fs::path out = convertFile(photo, fmt);
        const std::string tags = exiftoolTags(out);
        // TIFF always has an orientation field; it may only say "normal".
        for (const char* tag : {"Rotate", "Mirror", "GPS", "Make", "Model", "Tavrino"}) {
            EXPECT_EQ(tags.find(tag), std::string::npos) << out << " has " << tag << ":\n" << tags;
        }
        if (fmt != Fmt::tiff) {
            EXPECT_EQ(tags.find("Orientation"), std::string::npos) << tags;
        }
        const auto id = identify(out);
        ASSERT_TRUE(id) << out;
        EXPECT_EQ(id->width, 60) << out;
        EXPECT_EQ(id->height, 40) << out;
    }
    const Image upright = loadOrientedImage(photo);
    EXPECT_EQ(upright.width(), 40);
    EXPECT_EQ(upright.height(), 60);
}

TEST(ConvertFileTest, NeverOverwritesAndReadsNamesLiterally) {
    TempDir folder;
    writePicture(folder / "sample.jpg", 16, 16);
    writeBytes(folder / "sample.png", "keep me");
    EXPECT_EQ(convertFile(folder / "sample.jpg", Fmt::png).filename(), "sample 2.png");
    EXPECT_EQ(readBytes(folder / "sample.png"), "keep me");
    // Brackets would be load options to libvips' file-name parser.
    writePicture(folder / "shot[page=1].png", 16, 16);
    for (Fmt fmt : {Fmt::jpg, Fmt::tiff, Fmt::bmp}) {
        const fs::path out = convertFile(folder / "shot[page=1].png", fmt);
        EXPECT_EQ(out.filename(), "shot[page=1]." + std::string(rawValue(fmt)));
        EXPECT_EQ(pixelAt(out, 0, 0).size(), 3u);
    }
    // The content decides, not the extension.
    writePicture(folder / "really-png.jpg", 16, 16);
    fs::rename(folder / "really-png.jpg", folder / "really-png.gif");
    writePicture(folder / "really.png", 16, 16);
    fs::rename(folder / "really.png", folder / "really.jpg");
    EXPECT_NO_THROW(convertFile(folder / "really.jpg", Fmt::tiff));
}

struct BadInput {
    std::string name;
    std::string bytes;
    std::string message;
};

std::string halfOf(const std::string& bytes) {
    return bytes.substr(0, bytes.size() / 2);
}

std::string pictureBytes(const TempDir& folder, const std::string& name, int bands = 3) {
    writePicture(folder / name, 320, 240, bands);
    std::string bytes = readBytes(folder / name);
    fs::remove(folder / name);
    return bytes;
}

std::vector<BadInput> badInputs(const TempDir& folder) {
    const std::string jpeg = pictureBytes(folder, "x.jpg");
    // Garbage in the tables and frame header. (Damage inside the entropy-coded data is
    // only a warning to libjpeg, which fills the rest in grey like every other viewer.)
    std::string corruptJpeg = jpeg;
    for (size_t i = 20; i < 400; ++i)
        corruptJpeg[i] = '\xAB';
    return {
        {"photo.png", "this is not a picture", "이미지로 읽을 수 없음: photo.png"},
        {"zero.png", "", "이미지로 읽을 수 없음: zero.png"},
        {"cut.png", halfOf(pictureBytes(folder, "x.png")), "이미지로 읽을 수 없음: cut.png"},
        {"cut.jpg", halfOf(jpeg), "이미지로 읽을 수 없음: cut.jpg"},
        {"garbled.jpg", corruptJpeg, "이미지로 읽을 수 없음: garbled.jpg"},
        {"cut.tif", halfOf(pictureBytes(folder, "x.tif")), "이미지로 읽을 수 없음: cut.tif"},
        {"cut.heic", halfOf(pictureBytes(folder, "x.heic")), "이미지로 읽을 수 없음: cut.heic"},
        {"cut.gif", halfOf(pictureBytes(folder, "x.gif")), "이미지로 읽을 수 없음: cut.gif"},
        {"cut.bmp", halfOf(pictureBytes(folder, "x.bmp")), "이미지로 읽을 수 없음: cut.bmp"},
        {"bomb.png", pngClaimingSize(folder / "bomb-scratch.png", 100000, 100000),
         "이미지로 읽을 수 없음: bomb.png"},
        {"broken.pdf", "%PDF-1.4 nothing else", "PDF를 열 수 없음: broken.pdf"},
        {"zero.pdf", "", "PDF를 열 수 없음: zero.pdf"},
        {"photo.pdf", jpeg, "PDF를 열 수 없음: photo.pdf"},
        {"cut.pdf", halfOf(pdfBytes({blackPage(100, 100)})), "PDF를 열 수 없음: cut.pdf"},
    };
}

// Damaged input fails with its message, leaves nothing beside the source and does not touch
// the source.
TEST(ConvertFileTest, BadInputFailsCleanly) {
    TempDir folder;
    for (const BadInput& input : badInputs(folder)) {
        SCOPED_TRACE(input.name);
        const fs::path source = folder / input.name;
        writeBytes(source, input.bytes);
        for (Fmt fmt : {Fmt::png, Fmt::jpg, Fmt::heic, Fmt::pdf}) {
            EXPECT_EQ(errorOf([&] { convertFile(source, fmt); }), input.message) << rawValue(fmt);
            EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{input.name})
                << rawValue(fmt);
            EXPECT_EQ(readBytes(source), input.bytes);
        }
        fs::remove(source);
    }
}

TEST(ConvertFileTest, FoldersAndUnreadableFilesFailCleanly) {
    TempDir folder;
    fs::create_directory(folder / "album.png");
    EXPECT_THROW(convertFile(folder / "album.png", Fmt::jpg), ConvertError);
    EXPECT_THROW(convertFile(folder / "missing.jpg", Fmt::png), ConvertError);
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"album.png"});
    if (::geteuid() == 0) GTEST_SKIP() << "root reads files without read permission";
    writePicture(folder / "locked.png", 8, 8);
    fs::permissions(folder / "locked.png", fs::perms::none);
    EXPECT_THROW(convertFile(folder / "locked.png", Fmt::jpg), ConvertError);
}

}  // namespace
