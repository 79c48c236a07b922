#include "platform/CoreShare.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/Machine.h"

using namespace tavrino;

namespace {

TEST(CoreShareTest, SharesHeldDivideTheCoresOnceEach) {
    const unsigned all = usableCores();
    EXPECT_EQ(coresPerJob(), all);
    {
        std::vector<CoreShare> shares(2);
        EXPECT_EQ(coresPerJob(), std::max(1u, all / 2));
        // Moving a share, into a new one or over a held one, leaves one share per job.
        CoreShare moved(std::move(shares[0]));
        EXPECT_EQ(coresPerJob(), std::max(1u, all / 2));
        shares[1] = std::move(moved);
        EXPECT_EQ(coresPerJob(), all);
        // Released twice, or released and then destroyed, a share counts off once.
        CoreShare second;
        EXPECT_EQ(coresPerJob(), std::max(1u, all / 2));
        shares[1].release();
        shares[1].release();
        EXPECT_EQ(coresPerJob(), all);
        std::vector<CoreShare> many(all * 3 + 1);
        EXPECT_EQ(coresPerJob(), 1u);
    }
    EXPECT_EQ(coresPerJob(), all);
}

}  // namespace
