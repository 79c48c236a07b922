#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "convert/ConvertError.h"
#include "documents/ToolRunner.h"

namespace tavrino {
namespace {

namespace fs = std::filesystem;

class ToolRunnerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("tavrino-runner-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // A shell script standing in for a tool.
    std::string script(const std::string& name, const std::string& body, bool executable = true) {
        const fs::path path = dir_ / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        ::chmod(path.c_str(), executable ? 0755 : 0644);
        return path.string();
    }

    std::string failureOf(const std::optional<std::string>& exe, const std::string& label,
                          const std::vector<std::string>& args) {
        try {
            runTool(exe, label, args);
        } catch (const ConvertError& error) {
            return error.what();
        }
        return "(no error)";
    }

    fs::path dir_;
};

TEST_F(ToolRunnerTest, FailureQuotesTheLastNonEmptyLine) {
    const auto tool = script("tool", "printf 'step 1\\nerror: broken\\n\\n\\n'; exit 3");
    EXPECT_EQ(failureOf(tool, "Word 변환(wordbridge)", {}),
              "Word 변환(wordbridge) 실패(3): error: broken");
    const auto silent = script("silent", "exit 2");
    EXPECT_EQ(failureOf(silent, "한글 변환(pelgrin)", {}), "한글 변환(pelgrin) 실패(2): ");
}

// Whatever this program's own input holds (a terminal, a pipe), a child reads nothing from it.
TEST_F(ToolRunnerTest, ChildrenGetNoInput) {
    int input[2];
    ASSERT_EQ(::pipe(input), 0);
    ASSERT_EQ(::write(input[1], "typed\n", 6), 6);
    ::close(input[1]);
    const int saved = ::dup(STDIN_FILENO);
    ::dup2(input[0], STDIN_FILENO);
    ::close(input[0]);
    const auto tool =
        script("reader", "if read line; then echo \"read $line\"; else echo none; fi");
    const std::string output = runTool(tool, "x", {});
    ::dup2(saved, STDIN_FILENO);
    ::close(saved);
    EXPECT_EQ(output, "none\n");
}

TEST_F(ToolRunnerTest, StandardErrorSharesTheStreamInOrder) {
    const auto tool = script("tool", "echo one; echo two >&2; echo three; echo \"$1|$2\"");
    EXPECT_EQ(runTool(tool, "x", {"a b", "--flag"}), "one\ntwo\nthree\na b|--flag\n");
}

TEST_F(ToolRunnerTest, OutputThatIsNotUtf8BecomesEmpty) {
    const auto tool = script("tool", "printf 'ok \\377\\376 bad\\n'");
    EXPECT_EQ(runTool(tool, "x", {}), "");
    EXPECT_EQ(decodedOutput("한글 ✓"), "한글 ✓");
    EXPECT_EQ(decodedOutput("\xED\xA0\x80"), "");  // an encoded surrogate
    EXPECT_EQ(decodedOutput("\xC0\xAF"), "");      // an overlong form
}

TEST_F(ToolRunnerTest, UnusableNameIsRefusedBeforeAnythingElse) {
    const fs::path marker = dir_ / "ran";
    const auto tool = script("tool", "touch '" + marker.string() + "'");
    const std::string bad = (dir_ / "a\nb.hwp").string();
    EXPECT_EQ(failureOf(tool, "x", {"export-text", bad}),
              "파일 이름에 쓸 수 없는 글자가 있습니다: a\nb.hwp");
    EXPECT_FALSE(fs::exists(marker));
    // Reported even when the tool is missing; arguments without "/" are not examined.
    EXPECT_EQ(failureOf(std::nullopt, "x", {bad}),
              "파일 이름에 쓸 수 없는 글자가 있습니다: a\nb.hwp");
    EXPECT_EQ(failureOf(std::nullopt, "한글 변환(pelgrin)", {"bad\x7f"}),
              "한글 변환(pelgrin) 프로그램을 찾지 못함");
    EXPECT_EQ(failureOf(std::nullopt, "Word 변환(wordbridge)", {}),
              "Word 변환(wordbridge) 프로그램을 찾지 못함");
    EXPECT_NE(failureOf(tool, "x", {"/tmp/\xEF\xBF\xBD.hwp"}).find("쓸 수 없는"),
              std::string::npos);
}

TEST_F(ToolRunnerTest, LargeOutputDoesNotDeadlock) {
    const auto tool = script("tool", "head -c 300000 /dev/zero | tr '\\0' 'a'; echo; echo end");
    const std::string output = runTool(tool, "x", {});
    EXPECT_EQ(output.size(), 300000u + 5u);
    EXPECT_EQ(lastLine(output), "end");
}

TEST_F(ToolRunnerTest, RunProcessUsesTheFolderAndNamesTheProgram) {
    const auto tool = script("bin/textutil", "pwd > here.txt; echo 'cannot read' >&2; exit 1");
    try {
        runProcess(tool, {}, dir_);
        FAIL() << "expected a failure";
    } catch (const ConvertError& error) {
        EXPECT_STREQ(error.what(), "textutil 실패(1): cannot read");
    }
    std::ifstream here(dir_ / "here.txt");
    std::string line;
    std::getline(here, line);
    EXPECT_EQ(fs::canonical(line), fs::canonical(dir_));
    EXPECT_THROW(runProcess((dir_ / "absent").string(), {}), ConvertError);
}

TEST_F(ToolRunnerTest, CandidatesFollowTheSearchOrder) {
    const fs::path program = dir_ / "a/b/c/bin";
    const auto found = toolCandidates("wordbridge", "wbkit", dir_ / "Resources", program);
    ASSERT_GE(found.size(), 7u);
    EXPECT_EQ(found[0], dir_ / "Resources/wordbridge");
    EXPECT_EQ(found[1], program / "wordbridge");
    EXPECT_EQ(found[2], dir_ / "a/b/c/vendor/wbkit/wordbridge");  // nearest parent first
    EXPECT_EQ(found[3], dir_ / "a/b/vendor/wbkit/wordbridge");
    EXPECT_EQ(toolCandidates("p", "v", std::nullopt, program).front(), program / "p");
}

TEST(LastLine, SkipsTrailingEmptyLines) {
    EXPECT_EQ(lastLine("a\nb\n\n"), "b");
    EXPECT_EQ(lastLine("only"), "only");
    EXPECT_EQ(lastLine("\n\n"), "");
    EXPECT_EQ(lastLine(""), "");
    EXPECT_EQ(lastLine("x\n \n"), " ");
}

}  // namespace
}  // namespace tavrino
