// Background removal through the real network on composed pictures: the cut-out's size and
// transparency, an upright result from a turned JPEG, refusals that write nothing. Without
// the model these tests skip, except in CI, which must have fetched it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "convert/ConvertError.h"
#include "convert/Image.h"
#include "menu/MenuRules.h"
#include "platform/SaliencyNet.h"
#include "support/Judges.h"
#include "support/TestFiles.h"
#include "tools/SubjectMask.h"
#include "tools/Tools.h"

namespace fs = std::filesystem;
using namespace tavrino;
using namespace tavrino::test;

namespace {

bool needModel() {
    if (saliencyModelAvailable()) return true;
    const char* ci = std::getenv("CI");
    EXPECT_FALSE(ci && std::string(ci) == "true") << "CI runs without the model";
    return false;
}

int run(const std::string& command) {
    return std::system(command.c_str());
}

// A red disk and its shadowless stand-in for a subject on a warm wall, by ImageMagick.
fs::path writeDiskPhoto(const fs::path& path, const std::string& extra = "") {
    const std::string command =
        "convert -size 640x480 xc:'#d8d4cc' -fill '#c0392b' -draw "
        "'circle 320,240 320,120' " +
        extra + " '" + path.string() + "'";
    EXPECT_EQ(run(command), 0);
    return path;
}

int alphaAt(const PixelBuffer& pixels, int x, int y) {
    return pixels
        .bytes[(static_cast<std::size_t>(y) * pixels.width + x) * pixels.bands + pixels.bands - 1];
}

}  // namespace

TEST(BackgroundRemoval, CutsTheSubjectOutAtFullSize) {
    if (!needModel()) GTEST_SKIP() << "no model (scripts/fetch-model)";
    EXPECT_TRUE(removeBackgroundSupported());
    TempDir folder;
    const fs::path photo = writeDiskPhoto(folder / "wall.jpg");
    const ToolResult result = applyTool(Tool::removeBackground, photo);
    EXPECT_EQ(result.output.filename().string(), "wall 배경제거.png");
    EXPECT_FALSE(result.note);
    const PixelBuffer out = loadImage(result.output).pixels();
    ASSERT_EQ(out.bands, 4);
    EXPECT_EQ(out.width, 640);
    EXPECT_EQ(out.height, 480);
    for (const auto& [x, y] : {std::pair{0, 0}, {639, 0}, {0, 479}, {639, 479}, {60, 240}}) {
        EXPECT_EQ(alphaAt(out, x, y), 0) << x << "," << y;
    }
    EXPECT_EQ(alphaAt(out, 320, 240), 255);
    // The subject keeps its own colour.
    const std::size_t centre = (240u * 640 + 320) * 4;
    EXPECT_NEAR(out.bytes[centre], 0xc0, 6);
    EXPECT_NEAR(out.bytes[centre + 1], 0x39, 6);
}

TEST(BackgroundRemoval, TurnedPhotoIsCutOutUpright) {
    if (!needModel()) GTEST_SKIP() << "no model (scripts/fetch-model)";
    TempDir folder;
    // Stored sideways with the tag that turns it back: seen upright it is 480 wide.
    const fs::path photo = writeDiskPhoto(folder / "turned.jpg", "-rotate 90 -orient RightTop");
    const ToolResult result = applyTool(Tool::removeBackground, photo);
    const PixelBuffer out = loadImage(result.output).pixels();
    EXPECT_EQ(out.width, 480);
    EXPECT_EQ(out.height, 640);
    EXPECT_EQ(alphaAt(out, 0, 0), 0);
    EXPECT_EQ(alphaAt(out, 240, 320), 255);
}

TEST(BackgroundRemoval, PictureWithoutSubjectWritesNothing) {
    if (!needModel()) GTEST_SKIP() << "no model (scripts/fetch-model)";
    TempDir folder;
    ASSERT_EQ(run("convert -size 400x300 xc:'#7fa0c0' '" + (folder / "plain.png").string() + "'"),
              0);
    ASSERT_EQ(run("convert -size 400x300 gradient:'#203040-#c0d0e0' '" +
                  (folder / "gradient.jpg").string() + "'"),
              0);
    for (const char* name : {"plain.png", "gradient.jpg"}) {
        EXPECT_THROW(applyTool(Tool::removeBackground, folder / name), NoSubjectError) << name;
    }
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"gradient.jpg", "plain.png"}));
}

TEST(BackgroundRemoval, KeepsBothSubjectsWithTheirExactOutline) {
    if (!needModel()) GTEST_SKIP() << "no model (scripts/fetch-model)";
    TempDir folder;
    // A large and a small subject; the small one must not be lost next to the large one.
    const fs::path photo =
        writeDiskPhoto(folder / "two.png", "-fill '#1f6f3f' -draw 'circle 110,370 110,310'");
    const PixelBuffer out = loadImage(applyTool(Tool::removeBackground, photo).output).pixels();
    const auto inside = [](int x, int y) {
        const auto within = [&](int cx, int cy, int r) {
            return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
        };
        return within(320, 240, 120) || within(110, 370, 60);
    };
    long both = 0, either = 0, small = 0;
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            const bool cut = alphaAt(out, x, y) > 127;
            both += cut && inside(x, y);
            either += cut || inside(x, y);
            small += cut && (x - 110) * (x - 110) + (y - 370) * (y - 370) <= 3600;
        }
    }
    EXPECT_GT(static_cast<double>(both) / either, 0.9);
    EXPECT_GT(small, 0.9 * 3.14159 * 3600);
}
