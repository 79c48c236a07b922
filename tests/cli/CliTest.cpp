// tavrino-cli as a script sees it: what it prints and the status it exits with.

#include <gtest/gtest.h>

#include "support/Process.h"
#include "support/TestFiles.h"

namespace tavrino {
namespace {

using test::runCli;

class CommandLine : public ::testing::Test {
  protected:
    test::TempDir dir;
    std::string png = test::writeImage(dir / "shot.png").string();
    std::string jpg = test::writeImage(dir / "photo.jpg").string();
};

TEST_F(CommandLine, MenuPrintsOnePetalPerLine) {
    const auto result = runCli({"menu", png, jpg});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              "convert(png)\nconvert(jpg)\nconvert(heic)\nconvert(tiff)\nconvert(pdf)\n"
              "convert(bmp)\n");
    const auto tools = runCli({"menu", "--tools", png});
    EXPECT_EQ(tools.status, 0);
    EXPECT_NE(tools.out.find("tool(mergePDF)\n"), std::string::npos);
}

TEST_F(CommandLine, EmptyMenuPrintsNothingAndSucceeds) {
    const auto txt = test::writeText(dir / "notes.txt", "x").string();
    const auto result = runCli({"menu", txt});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "");
}

TEST_F(CommandLine, AppliesJudgesEachFile) {
    const auto result = runCli({"applies", "convert(png)", jpg, png, dir.path().string()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "run\nskip\nno\n");
}

TEST_F(CommandLine, MisuseGetsOneUsageLineAndStatusTwo) {
    for (const auto& arguments :
         std::vector<std::vector<std::string>>{{},
                                               {"menu"},
                                               {"menu", "--tools"},
                                               {"paint", png},
                                               {"applies", "convert(jpeg)", png},
                                               {"applies", "convert(png)"},
                                               {"file-actions"},
                                               {"file-actions", "install", "extra"}}) {
        const auto result = runCli(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.starts_with("usage: tavrino-cli"));
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
    }
}

TEST_F(CommandLine, HelpAndVersionGoToStandardOutputAndSucceed) {
    for (const char* flag : {"--help", "-h"}) {
        const auto help = runCli({flag});
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.err, "");
        EXPECT_TRUE(help.out.starts_with("usage: tavrino-cli"));
        for (const char* command : {"menu", "applies", "run"}) {
            EXPECT_NE(help.out.find(std::string("  ") + command + " "), std::string::npos)
                << command;
        }
    }
    const auto version = runCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("tavrino-cli ") + TAVRINO_VERSION + "\n");
}

}  // namespace
}  // namespace tavrino
