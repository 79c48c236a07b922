// Ending tavrino-cli in the middle of a drop carried out side by side. Killed outright,
// whatever carries a final name is a whole picture and nothing of the process stays behind.
// Interrupted (Ctrl-C, a polite kill), it also stops after the files in flight, leaves no
// hidden work file, and ends by the signal it was sent.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "convert/Image.h"
#include "platform/WholeFile.h"
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

// Starts twelve photos to PNG, sends `signal` once two results are out and others are surely
// half written, and returns the wait status; the output goes to `log`.
int signalMidRun(const fs::path& folder, int signal, const fs::path& log) {
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
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(spawned, 0);
    if (spawned != 0) return -1;
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (finalNames(folder, ".png") < 2 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(kill(pid, signal), 0);
    int status = 0;
    EXPECT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_FALSE(fs::exists("/proc/" + std::to_string(pid))) << "a worker outlived the process";
    return status;
}

// Every PNG under a final name decodes to the end; returns how many there are.
int checkWholePictures(const fs::path& folder) {
    int written = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(".") || entry.path().extension() != ".png") continue;
        ++written;
        EXPECT_TRUE(decodesCompletely(entry.path())) << name << " is not a whole picture";
        if (haveProgram("pngcheck")) {
            EXPECT_EQ(runProgram({"pngcheck", "-q", entry.path().string()}).status, 0) << name;
        }
    }
    EXPECT_GE(written, 2);
    EXPECT_LT(written, 12) << "the run ended before the signal";
    return written;
}

TEST(CliKillTest, KilledMidRunLeavesOnlyWholeResults) {
    TempDir folder;
    TempDir out;
    const int status = signalMidRun(folder.path(), SIGKILL, out / "log");
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    checkWholePictures(folder.path());
}

TEST(CliKillTest, InterruptedMidRunStopsAfterTheFilesInFlightAndLeavesNothingElse) {
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        TempDir folder;
        TempDir out;
        const int status = signalMidRun(folder.path(), signal, out / "log");
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        const int written = checkWholePictures(folder.path());
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            EXPECT_FALSE(entry.path().filename().string().starts_with("."))
                << entry.path().filename() << " was left beside the sources";
        }
        // One line per finished file, then the stop, and nothing after it.
        const std::string log = readWholeFile(out / "log").value_or("");
        EXPECT_NE(log.find("PNG 중단: 끝내라는 신호를 받아 남은 파일은 그대로 둠"),
                  std::string::npos)
            << log;
        int done = 0;
        for (std::size_t at = log.find("PNG 완료"); at != std::string::npos;
             at = log.find("PNG 완료", at + 1))
            ++done;
        EXPECT_EQ(done, written) << log;
    }
}

}  // namespace
