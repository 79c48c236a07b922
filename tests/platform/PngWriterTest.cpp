#include "platform/PngWriter.h"

#include <gtest/gtest.h>
#include <png.h>

#include <random>
#include <vector>

#include "platform/CoreShare.h"
#include "platform/Machine.h"

#include "support/Process.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;
using namespace tavrino;
using namespace tavrino::test;

namespace {

// Smooth gradients with noise, so that every filter predictor and distance matters.
PixelBuffer picture(int width, int height, int bands, unsigned seed = 1) {
    PixelBuffer buffer{width, height, bands, {}};
    std::mt19937 random(seed);
    buffer.bytes.resize(buffer.rowBytes() * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int b = 0; b < bands; ++b) {
                const int noise = static_cast<int>(random() % 9) - 4;
                buffer.bytes[(static_cast<std::size_t>(y) * width + x) * bands + b] =
                    static_cast<std::uint8_t>(x * 3 + y * (b + 1) + noise);
            }
        }
    }
    return buffer;
}

// Feeds the picture in stripes of `stripe` rows.
bool writePng(const PixelBuffer& pixels, const fs::path& path, int stripe, unsigned workers) {
    PngWriter writer(path, pixels.width, pixels.height, pixels.bands, workers);
    for (int top = 0; top < pixels.height; top += stripe) {
        const int rows = std::min(stripe, pixels.height - top);
        writer.addRows(PixelView{pixels.width, rows, pixels.bands,
                                 pixels.bytes.data() + pixels.rowBytes() * top});
    }
    return writer.finish();
}

// libpng's reading of the file in its own layout; no value when libpng refuses it.
std::optional<PixelBuffer> decodeWithLibpng(const fs::path& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return std::nullopt;
    static constexpr png_uint_32 formats[] = {0, PNG_FORMAT_GRAY, PNG_FORMAT_GA, PNG_FORMAT_RGB,
                                              PNG_FORMAT_RGBA};
    const int bands = static_cast<int>(PNG_IMAGE_SAMPLE_CHANNELS(image.format));
    image.format = formats[bands];
    PixelBuffer buffer{static_cast<int>(image.width), static_cast<int>(image.height), bands, {}};
    buffer.bytes.resize(PNG_IMAGE_SIZE(image));
    const bool ok = png_image_finish_read(&image, nullptr, buffer.bytes.data(), 0, nullptr);
    png_image_free(&image);
    if (!ok || image.warning_or_error != 0) return std::nullopt;
    return buffer;
}

void expectValidAndSame(const PixelBuffer& pixels, const fs::path& path) {
    if (haveProgram("pngcheck")) {
        const ProcessResult check = runProgram({"pngcheck", path.string()});
        EXPECT_EQ(check.status, 0) << check.out;
    }
    const std::optional<PixelBuffer> back = decodeWithLibpng(path);
    ASSERT_TRUE(back) << "libpng cannot read " << path;
    EXPECT_EQ(back->width, pixels.width);
    EXPECT_EQ(back->height, pixels.height);
    ASSERT_EQ(back->bands, pixels.bands);
    EXPECT_TRUE(back->bytes == pixels.bytes) << "pixels differ";
}

TEST(PngWriterTest, EveryLayoutDecodesBackExactly) {
    TempDir folder;
    for (int bands = 1; bands <= 4; ++bands) {
        const PixelBuffer pixels = picture(257, 131, bands, static_cast<unsigned>(bands));
        const fs::path path = folder / ("bands" + std::to_string(bands) + ".png");
        ASSERT_TRUE(writePng(pixels, path, 17, 3));
        expectValidAndSame(pixels, path);
    }
}

// Pieces meet at every kind of boundary: one row each, stripes shorter than the dictionary
// window, a single piece, a one-pixel picture, a picture one pixel wide.
TEST(PngWriterTest, PiecesJoinIntoOneStreamWhateverTheirSize) {
    TempDir folder;
    struct Case {
        int width, height, bands, stripe;
        unsigned workers;
    };
    for (const Case& c : {Case{64, 40, 3, 1, 4}, Case{4000, 30, 3, 2, 2}, Case{300, 200, 4, 200, 2},
                          Case{1, 1, 1, 1, 1}, Case{1, 500, 2, 7, 3}, Case{50, 50, 3, 9, 1}}) {
        const PixelBuffer pixels = picture(c.width, c.height, c.bands);
        const fs::path path = folder / "piece.png";
        ASSERT_TRUE(writePng(pixels, path, c.stripe, c.workers)) << c.width << "x" << c.height;
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " stripe " +
                     std::to_string(c.stripe));
        expectValidAndSame(pixels, path);
    }
}

// Priming each piece with the one before keeps the file as small as a single stream: within
// 2 % of one piece for the whole picture.
TEST(PngWriterTest, SplittingCostsAlmostNothingInSize) {
    TempDir folder;
    const PixelBuffer pixels = picture(1500, 800, 3, 9);
    ASSERT_TRUE(writePng(pixels, folder / "one.png", 800, 1));
    ASSERT_TRUE(writePng(pixels, folder / "many.png", 20, 2));
    const auto one = static_cast<double>(fs::file_size(folder / "one.png"));
    const auto many = static_cast<double>(fs::file_size(folder / "many.png"));
    EXPECT_LT(many, one * 1.02) << one << " vs " << many;
    expectValidAndSame(pixels, folder / "many.png");
}

// A writer that follows its job's share gives cores up when neighbours arrive and takes them
// back when they finish, between stripes, and the file comes out the same; a writer told its
// worker count keeps it whatever the shares.
TEST(PngWriterTest, WorkersFollowTheShareBetweenStripes) {
    TempDir folder;
    const unsigned all = usableCores();
    const PixelBuffer pixels = picture(400, 120, 3, 5);
    const auto stripe = [&](int index) {
        return PixelView{pixels.width, 20, pixels.bands,
                         pixels.bytes.data() + pixels.rowBytes() * 20 * index};
    };
    std::vector<CoreShare> crowd(all);  // every core taken by a job of its own
    PngWriter following(folder / "following.png", pixels.width, pixels.height, pixels.bands);
    PngWriter fixed(folder / "fixed.png", pixels.width, pixels.height, pixels.bands, 3);
    EXPECT_EQ(following.activeWorkers(), 1u);
    following.addRows(stripe(0));
    fixed.addRows(stripe(0));
    crowd.clear();  // the neighbours finish
    following.addRows(stripe(1));
    fixed.addRows(stripe(1));
    EXPECT_EQ(following.activeWorkers(), all);
    EXPECT_EQ(fixed.activeWorkers(), 3u);
    crowd.resize(all);  // and new ones arrive
    following.addRows(stripe(2));
    EXPECT_EQ(following.activeWorkers(), 1u);
    crowd.clear();
    for (int i = 3; i < 6; ++i)
        following.addRows(stripe(i));
    for (int i = 2; i < 6; ++i)
        fixed.addRows(stripe(i));
    EXPECT_EQ(following.activeWorkers(), all);
    ASSERT_TRUE(following.finish());
    ASSERT_TRUE(fixed.finish());
    expectValidAndSame(pixels, folder / "following.png");
    expectValidAndSame(pixels, folder / "fixed.png");
}

TEST(PngWriterTest, MissingOrExtraRowsFail) {
    TempDir folder;
    const PixelBuffer pixels = picture(20, 10, 3);
    {
        PngWriter writer(folder / "short.png", 20, 11, 3);
        writer.addRows({20, 10, 3, pixels.bytes.data()});
        EXPECT_FALSE(writer.finish()) << "a row is missing";
    }
    {
        PngWriter writer(folder / "long.png", 20, 9, 3);
        writer.addRows({20, 10, 3, pixels.bytes.data()});
        EXPECT_FALSE(writer.finish()) << "a row too many";
    }
    {
        PngWriter writer(folder / "wide.png", 19, 10, 3);
        writer.addRows({20, 10, 3, pixels.bytes.data()});
        EXPECT_FALSE(writer.finish()) << "rows of another width";
    }
    PngWriter nowhere(folder / "missing" / "x.png", 20, 10, 3);
    nowhere.addRows({20, 10, 3, pixels.bytes.data()});
    EXPECT_FALSE(nowhere.finish());
}

}  // namespace
