// The /proc reader and the choice of the copy to hand over to, on a fake /proc laid out in a
// temporary folder and on the real one.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "platform/ProcessTable.h"
#include "platform/RunningCopies.h"
#include "support/TestFiles.h"

namespace tavrino {
namespace {

std::string statLine(pid_t pid, const std::string& name, char state, unsigned long long ticks) {
    std::string line = std::to_string(pid) + " (" + name + ") " + state;
    for (int field = 4; field <= 21; ++field)
        line += " " + std::to_string(field);
    return line + " " + std::to_string(ticks) + " 23 24 25\n";
}

class FakeProc {
  public:
    FakeProc() { test::writeText(dir_ / "stat", "cpu 1 2 3\nbtime 1700000000\nprocesses 9\n"); }

    void add(pid_t pid, const std::string& exe, char state, unsigned long long ticks) {
        const auto folder = dir_.path() / std::to_string(pid);
        std::filesystem::create_directories(folder);
        test::writeText(folder / "stat", statLine(pid, "tavrino", state, ticks));
        std::filesystem::create_symlink(exe, folder / "exe");
    }
    ProcessTable table() const { return ProcessTable(dir_.path()); }
    std::filesystem::path path() const { return dir_.path(); }

  private:
    test::TempDir dir_;
};

TEST(ProcessStat, ReadsStateAndStartTicksPastAnAwkwardCommandName) {
    const auto plain = parseProcessStat(statLine(42, "tavrino", 'S', 123456));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->state, 'S');
    EXPECT_EQ(plain->startTicks, 123456u);

    // A command name may hold spaces and a closing parenthesis of its own.
    const auto odd = parseProcessStat(statLine(42, "a) b (c", 'Z', 99));
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->state, 'Z');
    EXPECT_EQ(odd->startTicks, 99u);
}

TEST(ProcessStat, RejectsTruncatedOrMalformedLines) {
    EXPECT_FALSE(parseProcessStat(""));
    EXPECT_FALSE(parseProcessStat("42 tavrino S 1 2 3"));
    EXPECT_FALSE(parseProcessStat("42 (tavrino) S 4 5 6"));
    std::string line = statLine(42, "tavrino", 'S', 5);
    line.replace(line.find(" 5 23"), 5, " x5 23");
    EXPECT_FALSE(parseProcessStat(line));
}

TEST(ProcessStat, BootTimeAndTickConversion) {
    EXPECT_EQ(parseBootTime("cpu 1\nbtime 1700000000\nctxt 5\n"), 1700000000);
    EXPECT_FALSE(parseBootTime("cpu 1\nctxt 5\n"));
    const StartTime time = startTimeFromTicks(1234, 1700000000, 100);
    EXPECT_EQ(time.seconds, 1700000012);
    EXPECT_EQ(time.microseconds, 340000);
}

TEST(ProcessTableScan, FindsLiveCopiesOfTheSameExecutableOnly) {
    FakeProc proc;
    proc.add(300, "/opt/tavrino/tavrino", 'S', 500);
    proc.add(200, "/opt/tavrino/tavrino (deleted)", 'S', 400);  // replaced by an update
    proc.add(250, "/usr/bin/other", 'S', 300);
    proc.add(260, "/opt/tavrino/tavrino", 'Z', 450);  // a zombie has ended
    test::writeText(proc.path() / "self", "not a process folder");

    const ProcessTable table = proc.table();
    EXPECT_EQ(table.copiesOf("/opt/tavrino/tavrino", ::getuid()), (std::vector<pid_t>{200, 300}));
    EXPECT_TRUE(table.copiesOf("/opt/tavrino/tavrino", ::getuid() + 1).empty());
    EXPECT_EQ(table.startTime(300)->seconds, 1700000000 + 500 / ::sysconf(_SC_CLK_TCK));
    EXPECT_FALSE(table.startTime(999));
}

TEST(ProcessTableScan, EndedCoversGoneZombiesAndReusedIds) {
    FakeProc proc;
    proc.add(300, "/opt/t", 'S', 500);
    proc.add(301, "/opt/t", 'Z', 500);
    const ProcessTable table = proc.table();
    const auto seen = table.startTime(300);
    EXPECT_FALSE(table.ended(300, seen));
    EXPECT_TRUE(table.ended(301, std::nullopt));
    EXPECT_TRUE(table.ended(302, std::nullopt));
    // The id now belongs to a process that started later.
    EXPECT_TRUE(table.ended(300, StartTime{seen->seconds - 1, 0}));
}

TEST(ProcessTableScan, RealProcReportsThisProcessAndAnEndedChild) {
    const ProcessTable table;
    EXPECT_TRUE(table.startTime(::getpid()));
    const auto copies = runningCopies(table);
    EXPECT_NE(std::find_if(copies.begin(), copies.end(),
                           [](const RunningCopy& c) { return c.pid == ::getpid(); }),
              copies.end());

    const pid_t child = ::fork();
    if (child == 0) {
        ::pause();
        ::_exit(0);
    }
    const auto seen = table.startTime(child);
    EXPECT_FALSE(table.ended(child, seen));
    ::kill(child, SIGKILL);
    // Not yet reaped: a zombie, which kill(pid, 0) alone would still call alive.
    for (int i = 0; i < 200 && !table.ended(child, seen); ++i)
        ::usleep(5000);
    EXPECT_TRUE(table.ended(child, seen));
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(table.ended(child, seen));
}

TEST(OlderInstance, ComparesStartTimesThenProcessIds) {
    const RunningCopy self{500, StartTime{100, 0}};
    const RunningCopy earlier{700, StartTime{99, 999999}};
    const RunningCopy later{400, StartTime{100, 1}};
    EXPECT_EQ(olderInstance(std::vector{later, self, earlier}, self), earlier);
    EXPECT_FALSE(olderInstance(std::vector{later, self}, self));

    // Unreadable or equal times fall back to the smaller id.
    const RunningCopy unreadable{300, std::nullopt};
    EXPECT_EQ(olderInstance(std::vector{unreadable}, RunningCopy{500, std::nullopt}), unreadable);
    EXPECT_FALSE(olderInstance(std::vector{RunningCopy{600, std::nullopt}}, self));
    EXPECT_EQ(olderInstance(std::vector{RunningCopy{499, StartTime{100, 0}}}, self)->pid, 499);
}

TEST(OlderInstance, ThreeCopiesHandOverToTheFirstStarted) {
    const RunningCopy first{900, StartTime{10, 0}};
    const RunningCopy middle{100, StartTime{20, 0}};
    const RunningCopy self{950, StartTime{30, 0}};
    EXPECT_EQ(olderInstance(std::vector{middle, first, self}, self), first);
    EXPECT_EQ(olderInstance(std::vector{first, middle, self}, self), first);
    EXPECT_FALSE(olderInstance(std::vector<RunningCopy>{}, self));
}

}  // namespace
}  // namespace tavrino
