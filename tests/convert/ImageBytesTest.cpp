// Reading a picture already in memory must give exactly what reading its file gives, and
// refuse what the file reader refuses: the same loaders, the same pixel limit.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <iterator>
#include <string>

#include "convert/ConvertError.h"
#include "convert/Image.h"
#include "support/Fixtures.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;
using namespace tavrino;
using namespace tavrino::test;

namespace {

// Loading may succeed for a damaged file whose pixels are decoded lazily; the failure must
// then come while decoding. Either way a ConvertError, and nothing else.
bool refused(const std::string& bytes) {
    try {
        (void)loadImageBytes(bytes).pixels();
    } catch (const ConvertError&) {
        return true;
    }
    return false;
}

// A little-endian TIFF header of one uncompressed RGB strip that declares width × height
// pixels of `samples` 8-bit samples each; no pixel data follows.
std::string tiffClaiming(std::uint32_t width, std::uint32_t height, std::uint16_t samples) {
    std::string out("II*\0\x08\0\0\0", 8);
    auto put = [&out](std::uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>((value >> (8 * i)) & 0xff);
    };
    const std::uint32_t entries[][4] = {{256, 4, 1, width},   {257, 4, 1, height}, {258, 3, 1, 8},
                                        {259, 3, 1, 1},       {262, 3, 1, 2},      {273, 4, 1, 8},
                                        {277, 3, 1, samples}, {278, 4, 1, height}};
    put(std::size(entries), 2);
    for (const auto& entry : entries) {
        put(entry[0], 2);
        put(entry[1], 2);
        put(entry[2], 4);
        put(entry[3], 4);
    }
    put(0, 4);
    return out;
}

TEST(ImageBytesTest, MemoryGivesTheSamePixelsAsTheFile) {
    TempDir folder;
    for (const char* name : {"a.png", "a.jpg", "a.webp", "a.tif", "a.gif", "a.heic"}) {
        for (const int bands : {1, 3, 4}) {
            if (bands == 4 && std::string(name) == "a.jpg") continue;
            const fs::path file = writeImage(folder / name, 21, 13, bands);
            const std::string bytes = readBytes(file);
            const PixelBuffer fromFile = loadImage(file).pixels();
            const PixelBuffer fromMemory = loadImageBytes(bytes).pixels();
            EXPECT_EQ(fromMemory.width, 21) << name << " " << bands;
            EXPECT_EQ(fromMemory.height, 13) << name << " " << bands;
            EXPECT_EQ(fromMemory.bands, fromFile.bands) << name << " " << bands;
            EXPECT_EQ(fromMemory.bytes, fromFile.bytes) << name << " " << bands;
        }
    }
}

TEST(ImageBytesTest, BmpGoesThroughOurOwnDecoder) {
    TempDir folder;
    const fs::path file = writeBMP(folder / "a.bmp", 9, 7);
    const std::string bytes = readBytes(file);
    const PixelBuffer fromMemory = loadImageBytes(bytes).pixels();
    const PixelBuffer fromFile = loadImage(file).pixels();
    EXPECT_EQ(fromMemory.width, 9);
    EXPECT_EQ(fromMemory.height, 7);
    EXPECT_EQ(fromMemory.bytes, fromFile.bytes);
    // Shorter than its header says: stb would pad it with black.
    EXPECT_TRUE(refused(bytes.substr(0, bytes.size() - 10)));
    EXPECT_TRUE(refused(bytes.substr(0, 20)));
}

TEST(ImageBytesTest, RefusesWhatTheFileReaderRefuses) {
    TempDir folder;
    EXPECT_TRUE(refused(""));
    EXPECT_TRUE(refused("not a picture at all"));
    // Above the pixel limit from its header alone, before any pixel is decoded (its data
    // would fail later anyway; the limit must stop it first).
    EXPECT_THROW(loadImageBytes(pngClaimingSize(folder / "big.png", 20000, 20000)), ConvertError);
    EXPECT_NO_THROW(loadImageBytes(pngClaimingSize(folder / "fits.png", 2000, 2000)));
    // Few pixels, but so many samples each that decoding would need 2.7 GB: refused from
    // the header as well.
    EXPECT_THROW(loadImageBytes(tiffClaiming(524288, 6, 870)), ConvertError);
    EXPECT_THROW(loadImageBytes(tiffClaiming(43528, 6, 3841)), ConvertError);
    EXPECT_NO_THROW(loadImageBytes(tiffClaiming(524288, 6, 3)));
    // libvips opens PDF and SVG too, but they are no pictures to the program.
    EXPECT_TRUE(refused(pdfBytes({blackPage(20, 10)})));
    EXPECT_TRUE(refused("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\"/>"));
    // Truncated data is refused, not padded.
    const std::string jpeg = readBytes(writeImage(folder / "t.jpg", 64, 64));
    EXPECT_TRUE(refused(jpeg.substr(0, jpeg.size() / 2)));
    const std::string png = readBytes(writeImage(folder / "t.png", 64, 64));
    EXPECT_TRUE(refused(png.substr(0, png.size() / 2)));
}

}  // namespace
