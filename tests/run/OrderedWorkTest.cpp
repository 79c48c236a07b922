#include "run/OrderedWork.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <stdexcept>
#include <thread>
#include <vector>

#include "convert/NamingTurn.h"
#include "platform/CoreShare.h"
#include "platform/Machine.h"

using namespace tavrino;
using namespace std::chrono_literals;

namespace {

JobPlan sideBySide(std::uint64_t bytes = 0) {
    return {JobPlan::Kind::sideBySide, bytes};
}

// Counts the jobs (and their bytes) in flight and keeps the highest figures seen.
struct InFlight {
    std::atomic<int> jobs{0};
    std::atomic<int> mostJobs{0};
    std::atomic<std::uint64_t> bytes{0};
    std::atomic<std::uint64_t> mostBytes{0};

    void enter(std::uint64_t size) {
        const int now = ++jobs;
        const std::uint64_t total = bytes += size;
        for (int seen = mostJobs; now > seen && !mostJobs.compare_exchange_weak(seen, now);) {
        }
        for (std::uint64_t seen = mostBytes;
             total > seen && !mostBytes.compare_exchange_weak(seen, total);) {
        }
    }
    void leave(std::uint64_t size) {
        --jobs;
        bytes -= size;
    }
};

TEST(OrderedWorkTest, JobsSideBySideDivideTheCoresAndGiveThemBack) {
    // Two side-by-side jobs run at the same time (each waits for the other; run one after
    // another, the first would give up) and each sees half the cores, so their encoders do
    // not split again over all of them; a job run alone, and the caller afterwards, see all.
    std::mutex mutex;
    std::condition_variable started;
    int running = 0;
    int metTheOther = 0;
    std::vector<unsigned> seen(3, 0);
    const auto job = [&](std::size_t index) {
        std::unique_lock lock(mutex);
        if (index < 2) {
            ++running;
            started.notify_all();
            if (started.wait_for(lock, 10s, [&] { return running >= 2; })) ++metTheOther;
            seen[index] = coresPerJob();
            // Neither leaves (and gives its share back) before the other has looked.
            ++running;
            started.notify_all();
            started.wait_for(lock, 10s, [&] { return running >= 4; });
            return;
        }
        seen[index] = coresPerJob();
    };
    const auto plan = [](std::size_t index) {
        return index < 2 ? sideBySide() : JobPlan{JobPlan::Kind::alone, 0};
    };
    runInOrder(3, {2, 1000}, plan, job, [](std::size_t) {});
    const unsigned all = usableCores();
    EXPECT_EQ(metTheOther, 2);
    EXPECT_EQ(seen[0], (all + 1) / 2);
    EXPECT_EQ(seen[1], (all + 1) / 2);
    EXPECT_EQ(seen[2], all);
    EXPECT_EQ(coresPerJob(), all);
}

TEST(OrderedWorkTest, TheLastJobRunningTakesBackTheCoresOfItsNeighbour) {
    // The last file of a drop must not stay on the half of the cores it started with once
    // the file beside it is done: its encoders ask again and get them all.
    std::mutex mutex;
    std::condition_variable changed;
    bool firstStarted = false;
    bool firstReported = false;
    unsigned beside = 0;
    unsigned after = 0;
    const auto job = [&](std::size_t index) {
        std::unique_lock lock(mutex);
        if (index == 0) {
            firstStarted = true;
            changed.notify_all();
            changed.wait_for(lock, 10s, [&] { return beside != 0; });
            return;
        }
        changed.wait_for(lock, 10s, [&] { return firstStarted; });
        beside = coresPerJob();
        changed.notify_all();
        changed.wait_for(lock, 10s, [&] { return firstReported; });
        after = coresPerJob();
    };
    const auto finished = [&](std::size_t index) {
        if (index != 0) return;
        std::lock_guard lock(mutex);
        firstReported = true;
        changed.notify_all();
    };
    runInOrder(
        2, {2, 1000}, [](std::size_t) { return sideBySide(); }, job, finished);
    const unsigned all = usableCores();
    EXPECT_EQ(beside, (all + 1) / 2);
    EXPECT_EQ(after, all);
}

TEST(OrderedWorkTest, ResultsComeBackInOrderOnTheCallingThread) {
    for (unsigned workers : {1u, 3u, 8u}) {
        constexpr std::size_t count = 12;
        std::vector<std::atomic<bool>> returned(count);
        std::vector<std::size_t> order;
        const auto caller = std::this_thread::get_id();
        const auto job = [&](std::size_t i) {
            // Later jobs finish first.
            std::this_thread::sleep_for(std::chrono::milliseconds(count - i));
            returned[i] = true;
        };
        const auto finished = [&](std::size_t i) {
            EXPECT_EQ(std::this_thread::get_id(), caller);
            EXPECT_TRUE(returned[i]) << "job " << i << " reported before it returned";
            order.push_back(i);
        };
        runInOrder(
            count, {workers, 1000}, [](std::size_t) { return sideBySide(); }, job, finished);
        std::vector<std::size_t> expected(count);
        for (std::size_t i = 0; i < count; ++i)
            expected[i] = i;
        EXPECT_EQ(order, expected) << workers << " workers";
    }
}

TEST(OrderedWorkTest, NamesAreTakenInOrderWhateverFinishesFirst) {
    std::mt19937 random(7);
    for (int repetition = 0; repetition < 20; ++repetition) {
        constexpr std::size_t count = 10;
        std::vector<int> delays(count);
        for (int& delay : delays)
            delay = std::uniform_int_distribution(0, 3)(random);
        std::mutex mutex;
        std::vector<std::size_t> named;
        const auto job = [&](std::size_t i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(delays[i]));
            awaitNamingTurn();
            std::lock_guard lock(mutex);
            named.push_back(i);
        };
        const auto plan = [](std::size_t i) {
            // A skipped file in the middle holds nobody up.
            return i == 4 ? JobPlan{JobPlan::Kind::nothing, 0} : sideBySide();
        };
        runInOrder(count, {4, 1000}, plan, job, [](std::size_t) {});
        EXPECT_EQ(named, (std::vector<std::size_t>{0, 1, 2, 3, 5, 6, 7, 8, 9}));
    }
}

TEST(OrderedWorkTest, MemoryBoundLimitsTheJobsInFlight) {
    InFlight flight;
    std::vector<std::uint64_t> sizes{40, 40, 40, 90, 30, 30, 500, 40, 40};
    const auto job = [&](std::size_t i) {
        flight.enter(sizes[i]);
        std::this_thread::sleep_for(3ms);
        flight.leave(sizes[i]);
    };
    int reported = 0;
    runInOrder(
        sizes.size(), {8, 100}, [&](std::size_t i) { return sideBySide(sizes[i]); }, job,
        [&](std::size_t) { ++reported; });
    EXPECT_EQ(reported, static_cast<int>(sizes.size())) << "the 500-byte job ran too, alone";
    // The oversized job alone is the only way past the bound.
    EXPECT_LE(flight.mostBytes, 500u);
    EXPECT_LE(flight.mostJobs, 2);
}

TEST(OrderedWorkTest, DropLargerThanTheBoundCompletesOneAtATime) {
    InFlight flight;
    const auto job = [&](std::size_t) {
        flight.enter(1);
        std::this_thread::sleep_for(1ms);
        flight.leave(1);
    };
    int reported = 0;
    runInOrder(
        20, {4, 10}, [](std::size_t) { return sideBySide(1000); }, job,
        [&](std::size_t) { ++reported; });
    EXPECT_EQ(reported, 20);
    EXPECT_EQ(flight.mostJobs, 1);
}

TEST(OrderedWorkTest, AloneJobsRunOnTheCallingThreadWithNothingBeside) {
    InFlight flight;
    const auto caller = std::this_thread::get_id();
    std::vector<bool> ranOnCaller(9);
    const auto plan = [](std::size_t i) {
        return i % 3 == 1 ? JobPlan{JobPlan::Kind::alone, 0} : sideBySide();
    };
    const auto job = [&](std::size_t i) {
        flight.enter(1);
        ranOnCaller[i] = std::this_thread::get_id() == caller;
        if (i % 3 == 1) {
            EXPECT_EQ(flight.jobs, 1) << "job " << i << " had company";
        }
        std::this_thread::sleep_for(2ms);
        flight.leave(1);
    };
    runInOrder(9, {4, 1000}, plan, job, [](std::size_t) {});
    for (std::size_t i = 1; i < 9; i += 3)
        EXPECT_TRUE(ranOnCaller[i]) << i;
}

TEST(OrderedWorkTest, AFailingReportStopsTheRunAndReleasesWaitingJobs) {
    std::atomic<int> started{0};
    std::atomic<int> stoppedAtTheirTurn{0};
    const auto job = [&](std::size_t i) {
        ++started;
        if (i == 0) {
            std::this_thread::sleep_for(5ms);
            return;
        }
        try {
            awaitNamingTurn();
        } catch (const std::exception&) {
            ++stoppedAtTheirTurn;
        }
    };
    const auto finished = [](std::size_t i) {
        if (i == 0) throw std::runtime_error("progress display gone");
    };
    EXPECT_THROW(runInOrder(
                     50, {3, 1000}, [](std::size_t) { return sideBySide(); }, job, finished),
                 std::runtime_error);
    // Returning at all means every worker was joined; nobody past the jobs already handed
    // out ever started.
    EXPECT_LT(started, 50);
    EXPECT_LE(stoppedAtTheirTurn, started - 1);
}

// A stop asked for from a report: nothing new starts, and every job that did run (its file
// may be out) is reported, in order, before the stop leaves the run.
TEST(OrderedWorkTest, AStopFromAReportReportsEveryJobThatRanAndStartsNoOther) {
    for (int round = 0; round < 20; ++round) {
        std::mutex mutex;
        std::vector<std::size_t> ran;
        std::vector<std::size_t> reported;
        const auto job = [&](std::size_t i) {
            try {
                awaitNamingTurn();
            } catch (const std::exception&) {
                return;  // stopped before its turn: it places nothing, as a real job
            }
            std::this_thread::sleep_for(1ms);
            std::lock_guard lock(mutex);
            ran.push_back(i);
        };
        const auto finished = [&](std::size_t i) {
            reported.push_back(i);
            if (i >= 3) throw RunStopped("stopped");
        };
        EXPECT_THROW(runInOrder(
                         40, {3, 1000}, [](std::size_t) { return sideBySide(); }, job, finished),
                     RunStopped);
        std::sort(ran.begin(), ran.end());
        ASSERT_GE(reported.size(), 4u);
        EXPECT_LT(reported.size(), 40u);
        EXPECT_EQ(ran, reported) << "round " << round;
    }
}

TEST(OrderedWorkTest, NoJobsNoWork) {
    bool called = false;
    runInOrder(
        0, WorkLimits::ofMachine(), [&](std::size_t) { return called = true, JobPlan{}; },
        [&](std::size_t) { called = true; }, [&](std::size_t) { called = true; });
    EXPECT_FALSE(called);
    const WorkLimits machine = WorkLimits::ofMachine();
    EXPECT_GE(machine.workers, 1u);
    EXPECT_GT(machine.memory, 0u);
}

}  // namespace
