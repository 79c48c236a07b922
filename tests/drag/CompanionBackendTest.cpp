// The Wayland backend: a compositor companion's reports drive the real watcher to the same
// decisions an X11 drag does.

#include <gtest/gtest.h>

#include "Fakes.h"
#include "drag/CompanionDragBackend.h"
#include "drag/Controller.h"
#include "support/TestFiles.h"

namespace tavrino {
namespace {

class CompanionWatcher : public ::testing::Test {
  protected:
    void SetUp() override {
        png = test::writeImage(dir / "사진.png");
        controller.setBeep([] {});
        controller.setClock([this] { return now; });
        controller.start();
    }
    void ticks(int count) {
        for (int i = 0; i < count; ++i)
            controller.tick();
    }

    test::TempDir dir;
    test::LogCapture log{dir / "Tavrino.log"};
    std::filesystem::path png;
    CompanionDragBackend backend{2};
    test::FakePanel panel;
    std::shared_ptr<test::FakeEngine> engine = std::make_shared<test::FakeEngine>();
    test::FakeNotifier notifier;
    Controller controller{panel, backend, engine, notifier};
    std::chrono::steady_clock::time_point now{};
};

TEST_F(CompanionWatcher, ShiftDuringADragOpensTheWheelOnceTheFilesEnterIt) {
    controller.tick();  // nothing is being dragged: the watcher rests
    EXPECT_TRUE(controller.sleeping());
    backend.reportBegan();  // wakes the resting watcher
    EXPECT_FALSE(controller.sleeping());
    backend.reportMoved(1000, 800, 0);
    ticks(3);
    EXPECT_TRUE(controller.fileDragActive());
    EXPECT_FALSE(panel.visible);

    backend.reportMoved(1000, 800, CompanionDragBackend::shiftMask);
    ticks(1);
    // The files are unknown until the drag reaches our window: it waits transparent under
    // the pointer, in the toolkit's pixels.
    ASSERT_TRUE(panel.visible);
    EXPECT_TRUE(panel.transparent);
    EXPECT_EQ(panel.presentedAt->x, 500);
    EXPECT_EQ(panel.presentedAt->y, 400);
    panel.ready = true;
    ticks(1);
    panel.onDragEnter({png});
    EXPECT_FALSE(panel.transparent);
    EXPECT_EQ(panel.presents, 1);
    EXPECT_EQ(panel.kindShown, MenuKind::convert);
}

TEST_F(CompanionWatcher, AModifierReportIsLookedAtWithoutWaitingForTheTick) {
    backend.reportBegan();
    backend.reportMoved(1000, 800, 0);
    ticks(2);
    ASSERT_TRUE(controller.fileDragActive());
    // Motion alone waits for the tick; Shift opens the transparent wheel before it.
    backend.reportMoved(1010, 800, 0);
    EXPECT_FALSE(panel.visible);
    backend.reportMoved(1010, 800, CompanionDragBackend::shiftMask);
    ASSERT_TRUE(panel.visible);
    EXPECT_TRUE(panel.transparent);
    EXPECT_EQ(panel.presentedAt->x, 505);
}

TEST_F(CompanionWatcher, AModifierReportOutsideADragOpensNothing) {
    backend.reportBegan();
    backend.reportMoved(10, 10, 0);
    ticks(1);
    backend.reportEnded();
    ticks(2);
    EXPECT_TRUE(controller.sleeping());
    backend.reportMoved(10, 10, CompanionDragBackend::altMask);
    EXPECT_FALSE(panel.visible);
    EXPECT_TRUE(controller.sleeping());
}

TEST_F(CompanionWatcher, ARestingPointerKeepsTheWheelWaitingForTheFiles) {
    // The compositor moves the drag into the new window only on the next motion, which may
    // come long after Shift: the files are still unknown, not absent.
    backend.reportBegan();
    backend.reportMoved(600, 600, CompanionDragBackend::shiftMask);
    ticks(2);
    ASSERT_TRUE(controller.reading());
    panel.ready = true;
    for (int i = 0; i < 10; ++i) {
        now += std::chrono::milliseconds(200);
        controller.tick();
    }
    EXPECT_TRUE(controller.reading());
    EXPECT_FALSE(controller.menuSkippedThisDrag());
    backend.reportMoved(601, 600, CompanionDragBackend::shiftMask);
    controller.tick();
    panel.onDragEnter({png});
    EXPECT_EQ(panel.presents, 1);
    EXPECT_FALSE(panel.transparent);
}

TEST_F(CompanionWatcher, ADragThatNeverShowsFilesAfterMovingIsSkipped) {
    backend.reportBegan();
    backend.reportMoved(600, 600, CompanionDragBackend::shiftMask);
    ticks(2);
    panel.ready = true;
    controller.tick();
    backend.reportMoved(620, 600, CompanionDragBackend::shiftMask);
    controller.tick();
    now += Controller::readLimit + std::chrono::milliseconds(20);
    controller.tick();
    EXPECT_FALSE(controller.reading());
    EXPECT_TRUE(controller.menuSkippedThisDrag());
    EXPECT_EQ(panel.presents, 0);
}

TEST_F(CompanionWatcher, AltAloneAsksForTheTools) {
    backend.reportBegan();
    backend.reportMoved(10, 10, CompanionDragBackend::altMask);
    ticks(3);
    ASSERT_TRUE(panel.visible);
    panel.onDragEnter({png});
    EXPECT_EQ(panel.kindShown, MenuKind::tools);
}

TEST_F(CompanionWatcher, ADragWithoutModifiersIsLeftAlone) {
    backend.reportBegan();
    for (int x = 0; x < 20; ++x) {
        backend.reportMoved(x * 10, 300, 0);
        controller.tick();
    }
    backend.reportEnded();
    ticks(2);
    EXPECT_FALSE(panel.visible);
    EXPECT_EQ(panel.presents, 0);
    EXPECT_FALSE(controller.fileDragActive());
    EXPECT_TRUE(controller.sleeping());
}

TEST_F(CompanionWatcher, ModifiersHeldFromTheLastDragDoNotCarryOver) {
    backend.reportBegan();
    backend.reportMoved(10, 10, 0);
    ticks(2);
    backend.reportEnded();
    ticks(1);
    // Shift pressed after the drag ended opens nothing; a fresh drag without it neither.
    backend.reportMoved(10, 10, CompanionDragBackend::shiftMask);
    backend.reportEnded();
    backend.reportBegan();
    ticks(3);
    EXPECT_FALSE(panel.visible);
}

TEST_F(CompanionWatcher, AWatcherAwakeWhenTheDragBeginsStillRecognisesIt) {
    // The watcher is already ticking (another drag just ended with the wheel fading).
    backend.reportBegan();
    backend.reportMoved(10, 10, 0);
    ticks(2);
    backend.reportEnded();
    controller.tick();
    backend.reportBegan();
    backend.reportMoved(50, 50, CompanionDragBackend::shiftMask);
    ticks(2);
    EXPECT_TRUE(controller.fileDragActive());
    EXPECT_TRUE(panel.visible);
}

TEST(CompanionBackend, NeverOffersTheFilesAndKeepsThePointerStill) {
    CompanionDragBackend backend;
    EXPECT_EQ(backend.readUriList(std::chrono::milliseconds(30)).status,
              SelectionReply::Status::refused);
    backend.reportMoved(7, 9, CompanionDragBackend::shiftMask | CompanionDragBackend::altMask);
    backend.nudgePointer();
    const PointerState state = backend.pointer();
    EXPECT_EQ(state.x, 7);
    EXPECT_EQ(state.y, 9);
    EXPECT_TRUE(state.shift);
    EXPECT_TRUE(state.alt);
    EXPECT_FALSE(state.primaryDown);
    EXPECT_EQ(backend.changeCount(), 0u);
}

}  // namespace
}  // namespace tavrino
