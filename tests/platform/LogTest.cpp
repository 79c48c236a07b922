// The activity log: line format, folders created on first use, whole lines under threads.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <thread>

#include "platform/Log.h"
#include "support/TestFiles.h"

namespace tavrino {
namespace {

std::vector<std::string> linesOf(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class ActivityLog : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = logFile();
        setLogFile(file);
        ::testing::internal::CaptureStdout();
    }
    void TearDown() override {
        ::testing::internal::GetCapturedStdout();
        setLogFile(previous_);
    }

    test::TempDir dir;
    std::filesystem::path file = dir / "Library" / "Logs" / "Tavrino.log";

  private:
    std::filesystem::path previous_;
};

TEST_F(ActivityLog, FirstLineCreatesTheMissingFoldersAndLinesKeepTheirOrder) {
    log("안내 창 띄움(첫 실행)");
    ASSERT_EQ(linesOf(file).size(), 1u);
    log("");
    const auto lines = linesOf(file);
    ASSERT_EQ(lines.size(), 2u);
    const std::regex stamped(R"(\[\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ\] (.*))");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(lines[0], match, stamped)) << lines[0];
    EXPECT_EQ(match[1], "안내 창 띄움(첫 실행)");
    EXPECT_TRUE(std::regex_match(lines[1], stamped)) << "an empty message still gets its stamp";
    EXPECT_TRUE(lines[1].ends_with("] "));
}

TEST_F(ActivityLog, LinesFromTwoThreadsStayWholeAndInOrder) {
    auto writer = [](char name) {
        for (int i = 0; i < 1000; ++i)
            log(std::string(1, name) + " " + std::to_string(i));
    };
    std::thread a(writer, 'a'), b(writer, 'b');
    a.join();
    b.join();
    const auto lines = linesOf(file);
    ASSERT_EQ(lines.size(), 2000u);
    int next[2] = {0, 0};
    const std::regex whole(R"(\[[^\]]+\] ([ab]) (\d+))");
    for (const std::string& line : lines) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, whole)) << "split or mixed line: " << line;
        int& expected = next[match[1] == "a" ? 0 : 1];
        EXPECT_EQ(std::stoi(match[2]), expected++);
    }
}

TEST(LogFileChoice, DeveloperRunsNeverWriteTheUserLog) {
    // Tests run from the build tree: a bare executable is a developer run even without flags.
    EXPECT_FALSE(isUserRun({}));
    EXPECT_FALSE(isUserRun({"--selftest"}));
    const auto devLog = developerLogFile();
    EXPECT_EQ(devLog.filename(), "selftest.log");
    EXPECT_EQ(devLog.parent_path().filename(), "tavrino-run-" + std::to_string(::getpid()));
    EXPECT_EQ(userLogFile().filename(), "Tavrino.log");
    EXPECT_NE(devLog, userLogFile());
}

}  // namespace
}  // namespace tavrino
