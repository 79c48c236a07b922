// The drag watcher: when a wheel opens, which one, where, and what the log says.

#include <gtest/gtest.h>

#include "Fakes.h"
#include "drag/Controller.h"
#include "support/TestFiles.h"

namespace tavrino {
namespace {

class Watcher : public ::testing::Test {
  protected:
    void SetUp() override {
        png1 = test::writeImage(dir / "사진 1.png");
        png2 = test::writeImage(dir / "b.PNG");
        controller.setBeep([this] { ++beeps; });
        controller.setClock([this] { return now; });
    }

    std::vector<std::string> logLines() { return log.messages(); }

    void press(int x = 500, int y = 400) {
        backend.state.primaryDown = true;
        backend.state.x = x;
        backend.state.y = y;
        controller.tick();
    }
    void release() {
        backend.state = {};
        controller.tick();
    }
    // A GTK source: it answers anyone who asks for its uri-list.
    void offerFiles(const std::vector<std::filesystem::path>& files) {
        std::string text;
        for (const auto& file : files)
            text += "file://" + file.string() + "\r\n";
        backend.reply = {SelectionReply::Status::answered, text};
    }

    test::TempDir dir;
    test::LogCapture log{dir / "Tavrino.log"};
    std::filesystem::path png1, png2;
    test::FakeBackend backend;
    test::FakePanel panel;
    std::shared_ptr<test::FakeEngine> engine = std::make_shared<test::FakeEngine>();
    test::FakeNotifier notifier;
    Controller controller{panel, backend, engine, notifier};
    std::chrono::steady_clock::time_point now{};
    int beeps = 0;
};

TEST_F(Watcher, PressWithoutSelectionChangeNeverOpensAWheel) {
    offerFiles({png1});
    backend.state.shift = true;
    press();
    for (int i = 0; i < 5; ++i)
        controller.tick();
    release();
    EXPECT_FALSE(controller.fileDragActive());
    EXPECT_FALSE(panel.visible);
    EXPECT_EQ(backend.reads, 0);
}

TEST_F(Watcher, ChangeBeforeThePressIsNotThisPressesDrag) {
    offerFiles({png1});
    backend.startDrag();  // an earlier drag, seen only now
    backend.state.shift = true;
    press();
    controller.tick();
    EXPECT_FALSE(controller.fileDragActive());
    EXPECT_FALSE(panel.visible);
}

TEST_F(Watcher, ShiftMidDragOpensTheConvertWheelAtThePointer) {
    offerFiles({png1, png2});
    press(100, 100);
    backend.startDrag();
    backend.state.x = 640;
    backend.state.y = 480;
    controller.tick();
    controller.tick();
    EXPECT_TRUE(controller.fileDragActive());
    EXPECT_FALSE(panel.visible) << "no modifier yet";

    backend.state.x = 700;
    backend.state.y = 300;
    backend.state.shift = true;
    controller.tick();
    ASSERT_TRUE(panel.visible);
    EXPECT_EQ(panel.kindShown, MenuKind::convert);
    EXPECT_EQ(panel.presentedAt, (ScreenPoint{700, 300}));
    ASSERT_TRUE(panel.configured);
    EXPECT_EQ(panel.configured->paths, (std::vector<std::filesystem::path>{png1, png2}));
    EXPECT_EQ(panel.configured->sourceFmt, Fmt::png);
    EXPECT_EQ(logLines(),
              std::vector<std::string>{"변환 메뉴 표시 (파일 정보 2개, 원본 형식 png)"});

    // Once the wheel is up nothing is read again, and letting go of Shift keeps it.
    backend.state.shift = false;
    controller.tick();
    EXPECT_EQ(backend.reads, 1);
    EXPECT_TRUE(panel.dismissals.empty());
}

TEST_F(Watcher, ModifiersChooseTheWheel) {
    const std::filesystem::path jpg = test::writeImage(dir / "c.jpg");
    offerFiles({png1, jpg});
    struct Case {
        bool shift, alt;
        MenuKind kind;
        std::string line;
    };
    for (const Case& c :
         {Case{true, true, MenuKind::convert, "변환 메뉴 표시 (파일 정보 2개, 원본 형식 섞임)"},
          Case{false, true, MenuKind::tools, "도구 메뉴 표시 (파일 정보 2개, 원본 형식 섞임)"},
          Case{true, false, MenuKind::convert, "변환 메뉴 표시 (파일 정보 2개, 원본 형식 섞임)"}}) {
        panel.visible = false;
        panel.kindShown.reset();
        press();
        backend.startDrag();
        backend.state.shift = c.shift;
        backend.state.alt = c.alt;
        controller.tick();
        EXPECT_EQ(panel.kindShown, c.kind) << c.shift << c.alt;
        EXPECT_EQ(logLines().back(), c.line);
        release();
    }
}

TEST_F(Watcher, DragWithoutFilesIsSkippedOnceUntilRelease) {
    backend.reply = {SelectionReply::Status::answered, "some dragged text"};
    press();
    backend.startDrag();
    backend.state.shift = true;
    for (int i = 0; i < 10; ++i)
        controller.tick();
    EXPECT_TRUE(controller.menuSkippedThisDrag());
    EXPECT_FALSE(panel.visible);
    EXPECT_EQ(backend.reads, 1);
    EXPECT_EQ(logLines(),
              std::vector<std::string>{
                  "변환 메뉴 생략: 놓은 파일 모두에 되는 것이 없음 (파일 정보 못 읽음)"});

    // The next drag is looked at afresh.
    release();
    EXPECT_FALSE(controller.menuSkippedThisDrag());
    press();
    backend.startDrag();
    backend.state.shift = true;
    controller.tick();
    EXPECT_EQ(backend.reads, 2);
    EXPECT_EQ(logLines().size(), 2u);
}

TEST_F(Watcher, SkipLineNamesWhatWasDragged) {
    const auto text = test::writeText(dir / "notes.txt", "x");
    std::filesystem::create_directory(dir / "folder");
    offerFiles({text, dir / "folder"});
    press();
    backend.startDrag();
    backend.state.alt = true;
    controller.tick();
    EXPECT_FALSE(panel.visible);
    EXPECT_EQ(logLines(), std::vector<std::string>{
                              "도구 메뉴 생략: 놓은 파일 모두에 되는 것이 없음 (.txt,폴더)"});
}

TEST_F(Watcher, ReleaseDismissesTheWheelUnlessARunIsGoing) {
    offerFiles({png1});
    press();
    backend.startDrag();
    backend.state.shift = true;
    controller.tick();
    ASSERT_TRUE(panel.visible);
    release();
    EXPECT_EQ(panel.dismissals, std::vector<double>{0.35});
    EXPECT_FALSE(controller.fileDragActive());

    // A drop started a run: the release that follows leaves the wheel to the run.
    panel.dismissals.clear();
    press();
    backend.startDrag();
    backend.state.shift = true;
    controller.tick();
    engine->hold = true;
    engine->report.total = 1;
    engine->report.done = 1;
    engine->report.finish = {true, "완료"};
    panel.onDrop(ConvertItem{Fmt::jpg}, {png1});
    EXPECT_TRUE(controller.converting());
    release();
    EXPECT_TRUE(panel.dismissals.empty());
    engine->hold = false;
    ASSERT_TRUE(test::waitFor([&] { return !controller.converting(); }));
    EXPECT_EQ(panel.dismissals, std::vector<double>{0.7});
}

class QtSource : public Watcher {
  protected:
    void SetUp() override {
        Watcher::SetUp();
        backend.reply = {SelectionReply::Status::refused, {}};
        press(300, 200);
        backend.startDrag();
        backend.state.shift = true;
        controller.tick();
    }
};

TEST_F(QtSource, BecomesTheTargetThenShowsTheWheel) {
    EXPECT_TRUE(controller.reading());
    EXPECT_TRUE(panel.transparent);
    EXPECT_EQ(panel.presentedAt, (ScreenPoint{300, 200}));
    EXPECT_EQ(backend.nudges, 0) << "not before the panel is on screen";
    controller.tick();
    EXPECT_EQ(backend.nudges, 0);

    panel.ready = true;
    controller.tick();
    controller.tick();
    EXPECT_EQ(backend.nudges, 1) << "one nudge is enough";

    backend.state.x = 301;
    panel.onDragEnter({png1});
    EXPECT_FALSE(controller.reading());
    EXPECT_FALSE(panel.transparent);
    EXPECT_EQ(panel.presents, 1);
    EXPECT_EQ(panel.presentedAt, (ScreenPoint{301, 200}));
    EXPECT_EQ(panel.withdrawals, 0) << "the panel stays the drag's target";
    EXPECT_EQ(logLines(),
              std::vector<std::string>{"변환 메뉴 표시 (파일 정보 1개, 원본 형식 png)"});

    // Later enters (the user moving out and back) read nothing more.
    panel.onDragEnter({png2});
    EXPECT_EQ(panel.presents, 1);
}

TEST_F(QtSource, DragOfNoFilesWithdrawsAndSkips) {
    panel.onDragEnter({});
    EXPECT_FALSE(panel.visible);
    EXPECT_EQ(panel.withdrawals, 1);
    EXPECT_TRUE(controller.menuSkippedThisDrag());
    controller.tick();
    EXPECT_EQ(backend.reads, 1);
    EXPECT_EQ(logLines(),
              std::vector<std::string>{
                  "변환 메뉴 생략: 놓은 파일 모두에 되는 것이 없음 (파일 정보 못 읽음)"});
}

TEST_F(QtSource, SilentSourceIsGivenUpAfterTheLimit) {
    panel.ready = true;
    now += Controller::readLimit - std::chrono::milliseconds(1);
    controller.tick();
    EXPECT_TRUE(controller.reading());
    now += std::chrono::milliseconds(1);
    controller.tick();
    EXPECT_FALSE(controller.reading());
    EXPECT_FALSE(panel.visible);
    EXPECT_EQ(logLines().size(), 1u);
    EXPECT_TRUE(controller.menuSkippedThisDrag());
}

TEST_F(QtSource, ReleaseWhileReadingWithdrawsQuietly) {
    release();
    EXPECT_FALSE(controller.reading());
    EXPECT_FALSE(panel.visible);
    EXPECT_TRUE(logLines().empty());
    panel.onDragEnter({png1});  // a late enter changes nothing
    EXPECT_FALSE(panel.visible);
}

TEST_F(Watcher, WithoutUsableDisplayItSaysSoAndStaysIdle) {
    backend.isUsable = false;
    controller.start();
    press();
    backend.startDrag();
    backend.state.shift = true;
    controller.tick();
    EXPECT_FALSE(panel.visible);
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("Wayland"), std::string::npos) << lines[0];
}

TEST_F(Watcher, StartLogsTheGreeting) {
    controller.start();
    EXPECT_EQ(logLines(), std::vector<std::string>{
                              "Tavrino 시작. 파일을 끌면서 Shift(변환)나 Alt(도구)를 누르면 원형 "
                              "메뉴가 뜬다. 트레이 아이콘 > 종료로 끝낸다."});
}

}  // namespace
}  // namespace tavrino

namespace tavrino {
namespace {

TEST_F(Watcher, TimerRestsBetweenDragsAndTheDragWakesIt) {
    offerFiles({png1});
    controller.start();
    controller.tick();
    EXPECT_TRUE(controller.sleeping()) << "nothing pressed, nothing shown";

    // A plain click while resting changes nothing.
    backend.state.primaryDown = true;
    backend.state.x = 200;
    backend.state.y = 150;
    EXPECT_TRUE(controller.sleeping());

    // The drag source takes the selection during that press: awake, and the drag counts.
    backend.announceDrag();
    EXPECT_FALSE(controller.sleeping());
    EXPECT_TRUE(controller.fileDragActive());
    backend.state.shift = true;
    controller.tick();
    EXPECT_TRUE(panel.visible);
    EXPECT_EQ(panel.presentedAt, (ScreenPoint{200, 150}));

    // Awake while the wheel is up, asleep again once it has gone.
    release();
    EXPECT_FALSE(controller.sleeping());
    panel.visible = false;
    controller.tick();
    EXPECT_TRUE(controller.sleeping());
}

TEST_F(Watcher, SelectionTakenWithoutAPressIsNoDrag) {
    controller.start();
    controller.tick();
    backend.announceDrag();
    EXPECT_FALSE(controller.fileDragActive());
    controller.tick();
    EXPECT_TRUE(controller.sleeping());
}

}  // namespace
}  // namespace tavrino
