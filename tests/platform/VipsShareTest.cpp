#include <gtest/gtest.h>
#include <vips/vips.h>

#include <vector>

#include "platform/CoreShare.h"
#include "platform/Machine.h"
#include "platform/Vips.h"
#include "support/TestFiles.h"

using namespace tavrino;
using namespace tavrino::test;

namespace {

// A libvips pipeline started by a job takes that job's share of the cores as its thread
// count, and one started after the neighbours have finished takes every core again. Pictures
// carried side by side would otherwise each start a worker per core.
TEST(VipsShareTest, PipelinesStartWithTheJobsShareOfTheCores) {
    TempDir folder;
    ensureVips();
    const PixelBuffer pixels{64, 48, 3, std::vector<std::uint8_t>(64 * 48 * 3, 90)};
    const VipsImageRef image = vipsFromPixels(pixels);
    ASSERT_TRUE(image);
    const int all = static_cast<int>(usableCores());
    {
        const std::vector<CoreShare> crowd(usableCores());
        ASSERT_TRUE(vipsSave(image, folder / "crowded.jpg", VipsSaver::jpeg, 80));
        EXPECT_EQ(vips_concurrency_get(), 1);
    }
    ASSERT_TRUE(vipsSave(image, folder / "alone.jpg", VipsSaver::jpeg, 80));
    EXPECT_EQ(vips_concurrency_get(), all);
    {
        const std::vector<CoreShare> crowd(usableCores());
        const PixelMemory memory = vipsPixelMemory(image);
        EXPECT_EQ(memory.view().width, 64);
        EXPECT_EQ(vips_concurrency_get(), 1);
    }
    EXPECT_TRUE(vipsDecodesAll(image));
    EXPECT_EQ(vips_concurrency_get(), all);
}

}  // namespace
