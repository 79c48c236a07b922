#include "platform/Machine.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdlib>
#include <fstream>

#include "support/TestFiles.h"

using namespace tavrino;
using namespace tavrino::test;

namespace {

TEST(MachineTest, ReadsTheKernelsAvailableMemory) {
    EXPECT_EQ(memAvailableOf("MemTotal:       24684000 kB\nMemFree:         2000 kB\n"
                             "MemAvailable:   23480000 kB\nBuffers:  1 kB\n"),
              23480000ull * 1024);
    EXPECT_EQ(memAvailableOf("MemTotal: 5 kB\n"), std::nullopt);
    EXPECT_EQ(memAvailableOf("MemAvailable: kB\n"), std::nullopt);
    EXPECT_GT(availableMemory().value_or(0), 0u);
    EXPECT_GE(usableCores(), 1u);
}

TEST(MachineTest, ControlGroupLimitLowersTheHeadroom) {
    TempDir group;
    const auto put = [&](const char* name, const char* text) {
        std::ofstream(group / name) << text;
    };
    put("memory.max", "1073741824\n");
    put("memory.current", "73741824\n");
    EXPECT_EQ(cgroupHeadroom(group.path()), 1000000000u);
    put("memory.current", "2073741824\n");
    EXPECT_EQ(cgroupHeadroom(group.path()), 0u) << "over the limit leaves nothing, not a wrap";
    put("memory.max", "max\n");
    EXPECT_EQ(cgroupHeadroom(group.path()), std::nullopt);
    EXPECT_EQ(cgroupHeadroom(group / "missing"), std::nullopt);
}

// After a large buffer is freed, glibc would otherwise serve the next ones below its size
// from the heap, where they stay after they are freed.
TEST(MachineTest, LargeBuffersStayOutOfTheHeapAfterOthersAreFreed) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator replaces glibc's, whose behaviour this checks";
#endif
    returnLargeBuffersToTheSystem();
    // Volatile, so that the compiler cannot drop the pair of calls.
    void* volatile large = std::malloc(16 << 20);
    std::free(large);
    const std::size_t mappedBefore = mallinfo2().hblkhd;
    void* buffer = std::malloc(2 << 20);
    ASSERT_NE(buffer, nullptr);
    EXPECT_GE(mallinfo2().hblkhd, mappedBefore + (2 << 20));
    std::free(buffer);
    EXPECT_LT(mallinfo2().hblkhd, mappedBefore + (2 << 20)) << "the buffer went back at once";
}

}  // namespace
