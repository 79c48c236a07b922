// Killing tavrino-cli in the middle of a drop carried out side by side: whatever carries a
// final name is a whole picture, and nothing of the process stays behind.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "convert/Image.h"
#include "support/Fixtures.h"
#include "support/Process.h"
#include "support/TestFiles.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace tavrino;
using namespace tavrino::test;
using namespace std::chrono_literals;

namespace {

int finalNames(const fs::path& folder, std::string_view extension) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(".") && entry.path().extension() == extension) ++count;
    }
    return count;
}

TEST(CliKillTest, KilledMidRunLeavesOnlyWholeResults) {
    TempDir folder;
    std::vector<std::string> argv{builtProgram("src/tavrino-cli").string(), "run", "convert(png)"};
    for (int i = 0; i < 12; ++i) {
        const fs::path source = folder / ("photo" + std::to_string(i) + ".jpg");
        writePicture(source, 1600, 1200);
        argv.push_back(source.string());
    }
    std::vector<char*> args;
    for (std::string& arg : argv)
        args.push_back(arg.data());
    args.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, args[0], nullptr, nullptr, args.data(), environ), 0);
    // Kill it once some results are out and others are surely half written.
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (finalNames(folder.path(), ".png") < 2 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the run ended before it could be killed";
    EXPECT_FALSE(fs::exists("/proc/" + std::to_string(pid))) << "a worker outlived the process";

    const int written = finalNames(folder.path(), ".png");
    EXPECT_GE(written, 2);
    EXPECT_LT(written, 12) << "the run ended before it could be killed";
    for (const auto& entry : fs::directory_iterator(folder.path())) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(".") || entry.path().extension() != ".png") continue;
        EXPECT_TRUE(decodesCompletely(entry.path())) << name << " is not a whole picture";
        if (haveProgram("pngcheck")) {
            EXPECT_EQ(runProgram({"pngcheck", "-q", entry.path().string()}).status, 0) << name;
        }
    }
}

}  // namespace
