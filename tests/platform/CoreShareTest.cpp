#include "platform/CoreShare.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/Machine.h"

using namespace tavrino;

namespace {

// What each of `jobs` jobs may use of `cores`: every core in use, none twice over more than
// the remainder needs.
unsigned shareOf(unsigned cores, unsigned jobs) {
    return (cores + jobs - 1) / jobs;
}

TEST(CoreShareTest, SharesHeldDivideTheCoresOnceEach) {
    const unsigned all = usableCores();
    EXPECT_EQ(coresPerJob(), all);
    {
        std::vector<CoreShare> shares(2);
        EXPECT_EQ(coresPerJob(), shareOf(all, 2));
        // Moving a share, into a new one or over a held one, leaves one share per job.
        CoreShare moved(std::move(shares[0]));
        EXPECT_EQ(coresPerJob(), shareOf(all, 2));
        shares[1] = std::move(moved);
        EXPECT_EQ(coresPerJob(), all);
        // Released twice, or released and then destroyed, a share counts off once.
        CoreShare second;
        EXPECT_EQ(coresPerJob(), shareOf(all, 2));
        shares[1].release();
        shares[1].release();
        EXPECT_EQ(coresPerJob(), all);
        std::vector<CoreShare> many(all * 3 + 1);
        EXPECT_EQ(coresPerJob(), 1u);
    }
    EXPECT_EQ(coresPerJob(), all);
}

// Shares that do not divide the cores evenly round up, so the cores left over are not idle:
// three jobs on eight cores take three threads each, not two.
TEST(CoreShareTest, UnevenSharesLeaveNoCoreIdle) {
    const unsigned all = usableCores();
    for (unsigned jobs = 1; jobs <= all + 2; ++jobs) {
        const std::vector<CoreShare> shares(jobs);
        const unsigned each = coresPerJob();
        EXPECT_GE(each * jobs, all) << jobs << " jobs leave a core idle";
        EXPECT_LT((each - 1) * jobs, all) << jobs << " jobs take more than the remainder needs";
        EXPECT_GE(each, 1u);
    }
}

}  // namespace
