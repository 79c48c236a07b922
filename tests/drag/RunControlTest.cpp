// Run control on the GUI side: hub states, worker thread, finish, notification, delays.

#include <gtest/gtest.h>

#include <algorithm>

#include "Fakes.h"
#include "convert/Image.h"
#include "drag/Controller.h"
#include "drag/RunEnginePort.h"
#include "support/Fixtures.h"
#include "support/TestFiles.h"

namespace tavrino {
namespace {

using Paths = std::vector<std::filesystem::path>;

class RunControl : public ::testing::Test {
  protected:
    void SetUp() override {
        controller.setBeep([this] { ++beeps; });
    }

    std::string lastLogLine() {
        const std::vector<std::string> lines = log.messages();
        return lines.empty() ? std::string() : lines.back();
    }

    // Drops the files on a petal and waits for the result.
    void dropAndWait(const WheelItem& item, Paths files) {
        panel.onDrop(item, std::move(files));
        ASSERT_TRUE(test::waitFor([&] { return !controller.converting(); }));
    }

    static RunReport report(int total, int done, int skipped, FinishMessage finish) {
        RunReport r;
        r.total = total;
        r.done = done;
        r.skipped = skipped;
        r.finish = std::move(finish);
        return r;
    }

    test::TempDir dir;
    test::LogCapture log{dir / "Tavrino.log"};
    test::FakeBackend backend;
    test::FakePanel panel;
    std::shared_ptr<test::FakeEngine> engine = std::make_shared<test::FakeEngine>();
    test::FakeNotifier notifier;
    Controller controller{panel, backend, engine, notifier};
    int beeps = 0;
};

TEST_F(RunControl, CleanRunWorksOffTheGuiThreadAndFadesQuickly) {
    engine->report = report(2, 2, 0, {true, "2개 완료"});
    engine->hold = true;
    panel.onDrop(ConvertItem{Fmt::jpg}, {"/x/a.png", "/x/b.png"});
    EXPECT_TRUE(controller.converting());
    EXPECT_EQ(panel.hoverClears, 1);
    EXPECT_EQ(panel.hub, (HubState{HubWorking{0, 2, "큰 파일은\n조금 걸립니다"}}));
    engine->hold = false;
    ASSERT_TRUE(test::waitFor([&] { return !controller.converting(); }));

    EXPECT_NE(engine->thread, std::this_thread::get_id());
    EXPECT_EQ(engine->calls, (std::vector<Paths>{{"/x/a.png", "/x/b.png"}}));
    // Progress came back to the hub in order, then the result.
    ASSERT_EQ(panel.hubHistory.size(), 4u);
    EXPECT_EQ(std::get<HubWorking>(panel.hubHistory[1]).done, 1);
    EXPECT_EQ(std::get<HubWorking>(panel.hubHistory[2]).done, 2);
    EXPECT_EQ(panel.hub, (HubState{HubDone{"2개 완료"}}));
    EXPECT_EQ(panel.dismissals, std::vector<double>{0.7});
    EXPECT_EQ(beeps, 0);
    EXPECT_TRUE(notifier.posts.empty());
}

TEST_F(RunControl, SkipsAndNotesWaitLonger) {
    engine->report = report(3, 2, 1, {true, "2개 완료\n1개는 이미 PNG"});
    dropAndWait(ConvertItem{Fmt::png}, {"/x/a.jpg", "/x/b.jpg", "/x/c.png"});
    EXPECT_EQ(panel.dismissals, std::vector<double>{1.4});

    panel.dismissals.clear();
    engine->report = report(1, 1, 0, {true, "1.2 MB → 300 KB"});
    engine->report.lastNote = "1.2 MB → 300 KB";
    dropAndWait(ToolItem{Tool::compress}, {"/x/a.jpg"});
    EXPECT_EQ(panel.hub, (HubState{HubDone{"1.2 MB → 300 KB"}}));
    EXPECT_EQ(panel.dismissals, std::vector<double>{1.4});
}

TEST_F(RunControl, DocumentsGetTheirOwnHint) {
    engine->hold = true;
    panel.onDrop(FromWordItem{DocTarget::hwpx}, {"/x/a.docx"});
    EXPECT_EQ(std::get<HubWorking>(panel.hub).hint, "문서는\n조금 걸립니다");
    engine->hold = false;
    ASSERT_TRUE(test::waitFor([&] { return !controller.converting(); }));
}

TEST_F(RunControl, FailureBeepsAndHidesFindings) {
    engine->report = report(3, 1, 0, {false, "1개 완료\n2개 실패"});
    engine->report.risks = {{"/x/a.hwp", {{"table", 1, "표가 바뀔 수 있음"}}}};
    dropAndWait(DocumentItem{DocTarget::docx}, {"/x/a.hwp", "/x/b.hwp", "/x/c.hwp"});
    EXPECT_EQ(panel.hub, (HubState{HubFailed{"1개 완료\n2개 실패"}}));
    EXPECT_EQ(beeps, 1);
    EXPECT_TRUE(notifier.posts.empty());
    EXPECT_EQ(panel.dismissals, std::vector<double>{1.4});
}

TEST_F(RunControl, FindingsTurnTheResultIntoACheckWithANotification) {
    engine->report = report(1, 1, 0, {true, "Word 완료"});
    engine->report.risks = {{"/x/보고서.hwp", {{"t", 1, "표 1개"}, {"f", 2, "글꼴 2개"}}}};
    dropAndWait(DocumentItem{DocTarget::docx}, {"/x/보고서.hwp"});
    EXPECT_EQ(panel.hub, (HubState{HubCheck{"확인 필요"}}));
    ASSERT_EQ(notifier.posts.size(), 1u);
    EXPECT_EQ(notifier.posts[0].first, "확인 필요: 보고서.hwp");
    EXPECT_EQ(notifier.posts[0].second, (std::vector<std::string>{"표 1개", "글꼴 2개"}));
    EXPECT_EQ(panel.dismissals, std::vector<double>{1.4});

    engine->report = report(2, 2, 0, {true, "2개 완료"});
    engine->report.risks = {{"/x/a.hwp", {{"t", 1, "표"}}}, {"/x/b.hwp", {{"t", 1, "표"}}}};
    dropAndWait(DocumentItem{DocTarget::docx}, {"/x/a.hwp", "/x/b.hwp"});
    EXPECT_EQ(panel.hub, (HubState{HubCheck{"2개 확인 필요"}}));
    EXPECT_EQ(notifier.posts.back().first, "확인 필요: a.hwp 외 1개");
}

TEST_F(RunControl, MergeCountsAsOneAndFadesAfterItsDelay) {
    engine->hold = true;
    engine->report = report(1, 1, 0, {true, "3쪽"});
    panel.onDrop(ToolItem{Tool::mergePDF}, {"/x/a.pdf", "/x/b.pdf", "/x/c.pdf"});
    EXPECT_EQ(std::get<HubWorking>(panel.hub).total, 1);
    engine->hold = false;
    ASSERT_TRUE(test::waitFor([&] { return !controller.converting(); }));
    EXPECT_EQ(panel.hub, (HubState{HubDone{"3쪽"}}));
    EXPECT_EQ(panel.dismissals, std::vector<double>{1.2});
}

TEST_F(RunControl, EngineThatThrowsFailsTheRunNotTheProgram) {
    engine->throws = true;
    dropAndWait(ConvertItem{Fmt::jpg}, {"/x/a.png"});
    EXPECT_TRUE(std::holds_alternative<HubFailed>(panel.hub));
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(lastLogLine(), "JPG 실패: 엔진 고장");
}

TEST_F(RunControl, CropOpensTheFirstFileOnlyAndNeverRuns) {
    Paths opened;
    controller.setCropOpener([&](const std::filesystem::path& file) { opened.push_back(file); });
    panel.onDrop(ToolItem{Tool::crop}, {"/x/a.png", "/x/b.png"});
    EXPECT_EQ(opened, Paths{"/x/a.png"});
    EXPECT_EQ(panel.dismissals, std::vector<double>{0});
    EXPECT_FALSE(controller.converting());
    EXPECT_TRUE(panel.hubHistory.empty());
    EXPECT_TRUE(engine->calls.empty());
}

TEST_F(RunControl, CropWindowThatCannotOpenIsLoggedWithABeep) {
    panel.onDrop(ToolItem{Tool::crop}, {"/x/a.png"});
    EXPECT_EQ(lastLogLine(), "자르기 창 열기 실패: a.png: 자르기 창을 쓸 수 없음");
    EXPECT_EQ(beeps, 1);
    EXPECT_FALSE(controller.converting());
}

TEST_F(RunControl, ResultOfAControllerThatIsGoneIsDropped) {
    auto shortLived = std::make_unique<Controller>(panel, backend, engine, notifier);
    engine->hold = true;
    panel.onDrop(ConvertItem{Fmt::jpg}, {"/x/a.png"});
    // The controller's end waits for the file in flight, which finishes meanwhile.
    std::thread release([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        engine->hold = false;
    });
    shortLived.reset();
    release.join();
    // The worker finished and posted; nothing may touch the destroyed controller.
    EXPECT_EQ(engine->calls.size(), 1u);
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    EXPECT_FALSE(panel.onDrop) << "the gone controller unhooked itself";
}

// Quitting the program mid-run: no file after the ones in flight starts, and the program's
// end waits for the run instead of cutting a file off as it is written.
TEST_F(RunControl, QuittingMidRunStopsAfterTheFileInFlightAndWaitsForIt) {
    auto quitting = std::make_unique<Controller>(panel, backend, engine, notifier);
    engine->perFile = std::chrono::milliseconds(20);
    panel.onDrop(ConvertItem{Fmt::jpg}, Paths(50, "/x/a.png"));
    ASSERT_TRUE(test::waitFor([&] { return engine->handled >= 2; }));
    quitting.reset();
    EXPECT_TRUE(engine->ended) << "the run outlived the controller";
    const int handled = engine->handled;
    EXPECT_LT(handled, 50);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(engine->handled, handled) << "files went on after the quit";
}

// The same with real pictures carried out side by side: whatever carries a final name is a
// whole picture, no file starts after the quit, and no temporary file is left.
TEST(RealRunControl, QuittingMidRunLeavesWholePicturesAndNothingElse) {
    test::TempDir dir;
    test::LogCapture log{dir / "Tavrino.log"};
    const std::filesystem::path folder = dir / "photos";
    std::filesystem::create_directories(folder);
    Paths files;
    for (int i = 0; i < 12; ++i) {
        files.push_back(folder / ("photo" + std::to_string(i) + ".jpg"));
        test::writePicture(files.back(), 1600, 1200);
    }
    const auto count = [&](const std::string& extension) {
        int n = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            n += entry.path().extension() == extension;
        return n;
    };
    test::FakeBackend backend;
    test::FakePanel panel;
    test::FakeNotifier notifier;
    auto controller =
        std::make_unique<Controller>(panel, backend, std::make_shared<RunEnginePort>(), notifier);
    panel.onDrop(ConvertItem{Fmt::png}, files);
    ASSERT_TRUE(test::waitFor([&] { return count(".png") >= 2; }, 20000));
    controller.reset();
    const int written = count(".png");
    EXPECT_LT(written, 12) << "the run ended before the quit";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(count(".png"), written) << "files went on after the quit";
    const std::vector<std::string> lines = log.messages();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "PNG 중단: 프로그램을 끝내 남은 파일은 그대로 둠");
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.starts_with("PNG 완료"); }),
              written)
        << "every file written is logged";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(entry.path().extension() == ".jpg" || entry.path().extension() == ".png")
            << name << " was left in the folder";
        if (entry.path().extension() == ".png") {
            EXPECT_TRUE(decodesCompletely(entry.path())) << name << " is not a whole picture";
        }
    }
}

TEST(RiskNoticeLines, AtMostTwoLinesPointingAtTheLog) {
    RunEnginePort port;
    EXPECT_TRUE(port.riskNoticeLines({}).empty());
    EXPECT_EQ(port.riskNoticeLines({{"a", 1, "표"}, {"b", 1, "글꼴"}}),
              (std::vector<std::string>{"표", "글꼴"}));
    const auto lines = port.riskNoticeLines({{"a", 1, "표"}, {"b", 1, "글꼴"}, {"c", 1, "그림"}});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "표");
    EXPECT_TRUE(lines[1].starts_with("그 밖에 2가지 — 전체 목록은 ")) << lines[1];
    EXPECT_TRUE(lines[1].ends_with("Tavrino.log")) << lines[1];
}

}  // namespace
}  // namespace tavrino

namespace tavrino {
namespace {

// The real engine and document tools behind the controller: a Word file with a table inside
// a table, dropped on the HWPX petal, ends in 확인 필요 with one notification carrying the
// finding; a plain one ends done without any.
class DocumentRunControl : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test::haveCorpus()) GTEST_SKIP() << "no corpus";
    }
    void dropAndWait(const WheelItem& item, std::vector<std::filesystem::path> files) {
        panel.onDrop(item, std::move(files));
        ASSERT_TRUE(test::waitFor([&] { return !controller.converting(); }, 30000));
    }

    test::TempDir dir;
    test::LogCapture log{dir / "Tavrino.log"};
    test::FakeBackend backend;
    test::FakePanel panel;
    test::FakeNotifier notifier;
    Controller controller{panel, backend, std::make_shared<RunEnginePort>(), notifier};
};

TEST_F(DocumentRunControl, NestedTableEndsInACheckWithANotification) {
    const std::filesystem::path source = dir / "표.docx";
    std::filesystem::copy_file(test::corpusFile("docx/blk-paras-and-tables.docx"), source);
    dropAndWait(FromWordItem{DocTarget::hwpx}, {source});
    EXPECT_EQ(panel.hub, (HubState{HubCheck{"확인 필요"}}));
    ASSERT_EQ(notifier.posts.size(), 1u);
    EXPECT_EQ(notifier.posts[0].first, "확인 필요: 표.docx");
    EXPECT_EQ(notifier.posts[0].second,
              std::vector<std::string>{"표 안에 표가 1개 있어 모양이 바뀔 수 있음"});
    const std::vector<std::string> lines = log.messages();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "확인 필요: 표.docx: nestedTable×1"),
              lines.end());
    EXPECT_TRUE(std::filesystem::exists(dir / "표.hwpx"));
}

TEST_F(DocumentRunControl, PlainDocumentEndsDoneWithoutNotification) {
    const std::filesystem::path source = dir / "memo.docx";
    std::filesystem::copy_file(test::corpusFile("docx/par-alignment.docx"), source);
    dropAndWait(FromWordItem{DocTarget::hwpx}, {source});
    EXPECT_EQ(panel.hub, (HubState{HubDone{"완료"}}));
    EXPECT_TRUE(notifier.posts.empty());
}

}  // namespace
}  // namespace tavrino
