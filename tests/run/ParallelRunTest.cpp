// A per-file run carried out several files at a time must look exactly like one carried
// out file by file: the same names, the same log lines in the same order, the same progress
// and the same report, whatever finishes first.

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <random>
#include <regex>
#include <thread>

#include "convert/ConvertError.h"
#include "convert/OutputNaming.h"
#include "run/FilePlan.h"
#include "run/RunEngine.h"
#include "support/Fixtures.h"
#include "support/Judges.h"
#include "support/LogCapture.h"
#include "support/TestFiles.h"
#include "tools/ResultFile.h"

namespace fs = std::filesystem;
using namespace tavrino;
using namespace tavrino::test;

namespace {

// Everything a caller or a user sees of one run.
struct Seen {
    std::vector<std::string> names;  // the folder afterwards
    std::vector<std::string> lines;  // log lines without their timings
    std::vector<std::pair<int, int>> progress;
    int done = 0;
    int skipped = 0;
    FinishMessage finish;
    std::optional<std::string> lastNote;

    bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& seen) {
    for (const std::string& line : seen.lines)
        out << "\n  " << line;
    out << "\n  names:";
    for (const std::string& name : seen.names)
        out << " [" << name << "]";
    return out;
}

// Runs `item` over `names` in a fresh folder that `make` fills first.
Seen runIn(const WheelItem& item, const std::vector<std::string>& names,
           const std::function<void(const fs::path&)>& make, const RunOperations& operations,
           const WorkLimits& limits) {
    TempDir folder;
    make(folder.path());
    std::vector<fs::path> files;
    for (const std::string& name : names)
        files.push_back(folder / name);
    LogCapture log;
    Seen seen;
    const RunReport report = runItem(
        item, files, operations,
        [&](int handled, int total) { seen.progress.emplace_back(handled, total); }, limits);
    seen.names = namesIn(folder.path());
    for (const std::string& line : log.messages())
        seen.lines.push_back(std::regex_replace(line, std::regex(R"( \[\d+\.\d\d초\]$)"), ""));
    seen.done = report.done;
    seen.skipped = report.skipped;
    seen.finish = report.finish;
    seen.lastNote = report.lastNote;
    return seen;
}

// Operations that write real results through the shared naming, after a random pause, and
// fail the files named "broken…". They may be called from several threads at once.
struct PausingOperations {
    std::mutex mutex;
    std::mt19937 random{11};
    bool sideBySide = true;

    void pause() {
        int milliseconds = 0;
        {
            std::lock_guard lock(mutex);
            milliseconds = std::uniform_int_distribution(0, 4)(random);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }

    RunOperations table() {
        RunOperations ops;
        ops.convertFile = [this](const FileFacts& file, Fmt fmt) {
            pause();
            const fs::path& path = file.path();
            if (path.filename().string().starts_with("broken")) throw ConvertError("망가진 파일");
            return writeResultFile(path.filename().string(), outputName(path, rawValue(fmt)),
                                   "파일 저장 실패");
        };
        ops.applyTool = [this](Tool, const FileFacts& file) {
            pause();
            const fs::path& path = file.path();
            const fs::path out = writeResultFile(
                path.filename().string(), toolOutputName(path, "압축", "jpg"), "파일 저장 실패");
            return ToolResult{out, "note of " + path.filename().string()};
        };
        ops.plan = [this](const WheelItem& specific, const FileFacts&) {
            // HEIC runs alone, as the standard plan has it: the mix must keep its order too.
            const auto* convert = std::get_if<ConvertItem>(&specific);
            if (!sideBySide || (convert && convert->fmt == Fmt::heic)) return JobPlan{};
            return JobPlan{JobPlan::Kind::sideBySide, 10};
        };
        return ops;
    }
};

void touch(const fs::path& folder, const std::vector<std::string>& names) {
    for (const std::string& name : names)
        writeBytes(folder / name, "x");
}

TEST(ParallelRunTest, MixedDropLooksTheSameAsOneFileAfterAnother) {
    // Four sources that all want "a.jpg", one already taken by a file of the user's, a
    // skipped JPEG, failures in between, and a mixed-set drop where HEIC runs alone.
    const std::vector<std::string> drop{"a.png", "a.gif", "b.jpg",   "broken1.png", "a.webp",
                                        "c.png", "a.bmp", "b.png",   "broken2.gif", "d.tif",
                                        "e.png", "f.png", "a 2.png", "g.png"};
    const auto make = [&](const fs::path& folder) {
        touch(folder, drop);
        writeBytes(folder / "a 3.jpg", "the user's own");
    };
    PausingOperations serial;
    serial.sideBySide = false;
    const Seen expected = runIn(ConvertItem{Fmt::jpg}, drop, make, serial.table(), {1, 1000});
    ASSERT_EQ(expected.done, 11);
    ASSERT_EQ(expected.skipped, 1);
    EXPECT_EQ(expected.lines[1], "JPG 완료: a.gif -> a 2.jpg") << expected;
    EXPECT_EQ(expected.lines[4], "JPG 완료: a.webp -> a 4.jpg") << expected;

    PausingOperations parallel;
    for (unsigned workers : {1u, 3u, 6u}) {
        for (int repetition = 0; repetition < 15; ++repetition) {
            const Seen seen =
                runIn(ConvertItem{Fmt::jpg}, drop, make, parallel.table(), {workers, 1000});
            ASSERT_EQ(seen, expected) << workers << " workers, repetition " << repetition
                                      << "\nexpected:" << expected << "\nseen:" << seen;
        }
    }
}

TEST(ParallelRunTest, ToolNotesAndMixedTargetsKeepFileOrder) {
    const std::vector<std::string> drop{"a.png", "a.jpg", "broken.png", "c.png", "d.png"};
    const auto make = [&](const fs::path& folder) { touch(folder, drop); };
    PausingOperations serial;
    serial.sideBySide = false;
    PausingOperations parallel;
    for (const WheelItem& item : {WheelItem{ToolItem{Tool::compress}},
                                  WheelItem{CommonItem{"heic"}}, WheelItem{CommonItem{"png"}}}) {
        const Seen expected = runIn(item, drop, make, serial.table(), {1, 1000});
        for (int repetition = 0; repetition < 10; ++repetition) {
            const Seen seen = runIn(item, drop, make, parallel.table(), {4, 1000});
            ASSERT_EQ(seen, expected)
                << title(item) << "\nexpected:" << expected << "\nseen:" << seen;
        }
    }
}

// The real converters, side by side: the same names and lines as one after another, and
// every picture written is whole.
TEST(ParallelRunTest, RealConversionsSideBySideMatchASerialRun) {
    const std::vector<std::string> drop{"a.png", "a.gif", "b.jpg", "broken.gif", "a.webp",
                                        "c.tif", "c.png", "d.png", "e.jpg",      "pages.tif"};
    const auto make = [](const fs::path& folder) {
        writePicture(folder / "a.png", 300, 200);
        writePicture(folder / "a.gif", 40, 30);
        writePicture(folder / "b.jpg", 64, 64);
        writeBytes(folder / "broken.gif", "GIF89a not really");
        writePicture(folder / "a.webp", 120, 90);
        writePicture(folder / "c.tif", 200, 150);
        writePicture(folder / "c.png", 500, 400, 4);
        writePicture(folder / "d.png", 16, 16, 1);
        writePicture(folder / "e.jpg", 640, 480);
        writeMultiPage(folder / "pages.tif", 3, 20, 20);
    };
    const RunOperations ops = standardOperations();
    for (Fmt fmt : {Fmt::png, Fmt::jpg}) {
        const Seen expected = runIn(ConvertItem{fmt}, drop, make, ops, {1, 1ull << 30});
        ASSERT_EQ(expected.done + expected.skipped, 9) << expected;
        ASSERT_FALSE(expected.finish.ok);
        for (int repetition = 0; repetition < 4; ++repetition) {
            const Seen seen = runIn(ConvertItem{fmt}, drop, make, ops, {4, 1ull << 30});
            ASSERT_EQ(seen, expected) << "\nexpected:" << expected << "\nseen:" << seen;
        }
        // Bound below every single picture: each runs alone, and all still complete.
        EXPECT_EQ(runIn(ConvertItem{fmt}, drop, make, ops, {4, 1}), expected);
    }
}

TEST(ParallelRunTest, StandardPlanKeepsHeavyWorkAlone) {
    TempDir folder;
    writePicture(folder / "a.jpg", 100, 50);
    writePDF(folder / "b.pdf", 2);
    const FileFacts photo(folder / "a.jpg");
    const JobPlan png = standardPlan(ConvertItem{Fmt::png}, photo);
    EXPECT_EQ(png.kind, JobPlan::Kind::sideBySide);
    EXPECT_EQ(png.bytes, pictureJobBytes(5000));
    EXPECT_GT(pictureJobBytes(24'000'000), 24'000'000u * 4);
    EXPECT_EQ(standardPlan(ToolItem{Tool::rotate}, photo).kind, JobPlan::Kind::sideBySide);
    EXPECT_EQ(standardPlan(ConvertItem{Fmt::heic}, photo).kind, JobPlan::Kind::alone);
    EXPECT_EQ(standardPlan(ToolItem{Tool::extractText}, photo).kind, JobPlan::Kind::alone);
    EXPECT_EQ(standardPlan(ToolItem{Tool::removeBackground}, photo).kind, JobPlan::Kind::alone);
    EXPECT_EQ(standardPlan(ConvertItem{Fmt::png}, FileFacts(folder / "b.pdf")).kind,
              JobPlan::Kind::alone);
    writeBytes(folder / "odd.png", "no header");
    EXPECT_EQ(standardPlan(ConvertItem{Fmt::jpg}, FileFacts(folder / "odd.png")).kind,
              JobPlan::Kind::alone)
        << "a size that cannot be read cannot be bounded";
}

}  // namespace
