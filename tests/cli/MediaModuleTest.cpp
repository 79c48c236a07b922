// tavrino-cli loads each engine (libvips and the rest; poppler for pages; qpdf for the merge)
// only for work that needs it, and a missing engine costs the files that need it, cleanly,
// never the rest.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/Fixtures.h"
#include "support/Judges.h"
#include "support/Process.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

// Runs `program` with the dynamic loader reporting every object it maps (the report goes to
// standard error with the program's own messages) and binding every function as it loads
// it, so that a module calling something the program does not export fails at once.
test::ProcessResult tracedRun(const fs::path& program, const fs::path& state,
                              std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"env", "LD_DEBUG=files", "LD_BIND_NOW=1",
                                         "XDG_STATE_HOME=" + state.string(), program.string()});
    return test::runProgram(arguments);
}

bool loaded(const test::ProcessResult& result, const std::string& object) {
    return result.err.find("file=" + object) != std::string::npos ||
           result.err.find("/" + object) != std::string::npos;
}

class MediaModule : public ::testing::Test {
  protected:
    test::TempDir dir;
    fs::path cli = test::builtProgram("src/tavrino-cli");
    fs::path first = test::writePDF(dir / "first.pdf", 2);
    fs::path second = test::writePDF(dir / "second.pdf", 3);
};

TEST_F(MediaModule, PdfMenusAndMergesNeverLoadTheEngine) {
    const auto menu = tracedRun(cli, dir / "state", {"menu", "--tools", first.string()});
    EXPECT_EQ(menu.status, 0);
    EXPECT_NE(menu.out.find("tool(mergePDF)"), std::string::npos);
    const auto merge =
        tracedRun(cli, dir / "state", {"run", "tool(mergePDF)", first.string(), second.string()});
    EXPECT_EQ(merge.status, 0) << merge.err;
    EXPECT_NE(merge.out.find("5쪽"), std::string::npos) << merge.out;
    for (const auto* result : {&menu, &merge}) {
        EXPECT_FALSE(loaded(*result, "tavrino-media.so"));
        EXPECT_FALSE(loaded(*result, "libvips.so"));
        EXPECT_FALSE(loaded(*result, "libpoppler"));
    }
    EXPECT_FALSE(loaded(menu, "libqpdf")) << "a menu needs no PDF writer";
    EXPECT_TRUE(loaded(merge, "tavrino-merge.so"));
    // A text file under a picture's name is turned away by its first bytes, without the
    // engine.
    const auto fake = test::writeText(dir / "fake.gif", "not a picture");
    const auto applies = tracedRun(cli, dir / "state", {"applies", "convert(png)", fake.string()});
    EXPECT_EQ(applies.status, 0);
    EXPECT_FALSE(loaded(applies, "tavrino-media.so"));
}

TEST_F(MediaModule, PictureWorkLoadsTheEngineOnceAndWorks) {
    const auto png = test::writeImage(dir / "shot.png", 40, 30);
    const auto frames = test::writeFrames(dir / "moving.gif", 3);
    const auto result =
        tracedRun(cli, dir / "state", {"run", "convert(jpg)", png.string(), frames.string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::exists(dir / "shot.jpg"));
    EXPECT_TRUE(loaded(result, "tavrino-media.so"));
    // An image merged with a PDF: its pages come from the engine, the rest from the base.
    const auto merge =
        tracedRun(cli, dir / "state", {"run", "tool(mergePDF)", first.string(), png.string()});
    EXPECT_EQ(merge.status, 0) << merge.err;
    EXPECT_NE(merge.out.find("3쪽"), std::string::npos) << merge.out;
}

// Pages to PNG go through poppler and our encoder alone; one-page and broken PDFs still go
// to the media engine, with the results and messages they always had.
TEST_F(MediaModule, PdfPagesToPngLoadOnlyThePageEngine) {
    TAVRINO_REQUIRE_TOOL("identify");
    const auto pages = tracedRun(cli, dir / "state", {"run", "convert(png)", second.string()});
    EXPECT_EQ(pages.status, 0) << pages.err;
    EXPECT_TRUE(loaded(pages, "tavrino-pages.so"));
    EXPECT_FALSE(loaded(pages, "tavrino-media.so"));
    EXPECT_FALSE(loaded(pages, "libvips.so"));
    const fs::path folder = dir / "second 이미지";
    EXPECT_EQ(test::namesIn(folder),
              (std::vector<std::string>{"second 1.png", "second 2.png", "second 3.png"}));
    for (const auto& name : test::namesIn(folder)) {
        const auto png = test::identify(folder / name);
        ASSERT_TRUE(png) << name;
        EXPECT_EQ(png->format, "PNG");
        EXPECT_GT(png->width, 0);
    }

    const auto single = test::writePDF(dir / "single.pdf", 1);
    const auto one = tracedRun(cli, dir / "state", {"run", "convert(png)", single.string()});
    EXPECT_EQ(one.status, 0) << one.err;
    EXPECT_TRUE(fs::is_regular_file(dir / "single.png"));

    test::writeBytes(dir / "wide.pdf",
                     test::pdfBytes({test::blackPage(50, 50), test::blackPage(14000, 14000),
                                     test::blackPage(50, 50)}));
    const auto failed =
        tracedRun(cli, dir / "state", {"run", "convert(png)", (dir / "wide.pdf").string()});
    EXPECT_EQ(failed.status, 1);
    EXPECT_FALSE(fs::exists(dir / "wide 이미지"));
    EXPECT_NE(failed.out.find("PDF 쪽 그리기 실패(2/3)"), std::string::npos);
}

TEST_F(MediaModule, MissingEngineFailsOnlyTheFilesThatNeedIt) {
    // A copy of the program with no module beside it; an installed bundle would still
    // provide them.
    for (const char* installed : {"/usr/local/lib/tavrino", "/usr/lib/tavrino"}) {
        if (fs::exists(fs::path(installed) / "tavrino-media.so"))
            GTEST_SKIP() << "an installed module at " << installed << " would be found";
    }
    const fs::path bare = dir / "bare" / "tavrino-cli";
    fs::create_directories(bare.parent_path());
    fs::copy_file(cli, bare);
    const auto png = test::writeImage(dir / "shot.png");
    const auto convert = tracedRun(bare, dir / "state", {"run", "convert(jpg)", png.string()});
    EXPECT_EQ(convert.status, 1);
    EXPECT_EQ(convert.out.find("완료"), std::string::npos) << convert.out;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        EXPECT_NE(entry.path().extension(), ".jpg") << entry.path();
        EXPECT_FALSE(entry.path().filename().string().starts_with(".shot")) << entry.path();
    }
    // The file's failure names what is missing, in the run's own log line.
    EXPECT_NE(convert.out.find("JPG 실패: shot.png: 이미지 엔진을 불러올 수 없음: " +
                               bare.parent_path().string() + "/tavrino-media.so"),
              std::string::npos);
    EXPECT_EQ(convert.err.find("tavrino-cli: "), std::string::npos) << "the run itself broke off";
    // Work that needs no engine still runs.
    const auto menu = tracedRun(bare, dir / "state", {"menu", first.string()});
    EXPECT_EQ(menu.status, 0) << menu.err;
    EXPECT_NE(menu.out.find("convert(png)"), std::string::npos);
}

}  // namespace
}  // namespace tavrino
