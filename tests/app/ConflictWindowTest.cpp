// The conflict window with a fake clock and a stand-in for the older copy: waiting, refusing
// to close, continuing once the older copy ended, and giving up after the last try.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "Fakes.h"
#include "app/ConflictWindowController.h"
#include "app/WelcomeText.h"

namespace tavrino::app {
namespace {

struct ConflictFixture : ::testing::Test {
    ConflictFixture() : controller(clock) {
        controller.quit = [this] { ++quits; };
        controller.requestQuit = [this](const RunningCopy& copy) { requested.push_back(copy.pid); };
        controller.olderEnded = [this](const RunningCopy&) { return ++checks >= endsAtCheck; };
    }
    void present() {
        controller.present(RunningCopy{4242, std::nullopt}, [this] { ++continued; });
    }
    QString text() const { return controller.text()->text(); }
    bool buttonsEnabled() const {
        for (auto* button : controller.buttons()) {
            if (!button->isEnabled()) return false;
        }
        return true;
    }

    test::LogCapture log;
    test::FakeScheduler clock;
    ConflictWindowController controller;
    int quits = 0, continued = 0, checks = 0, endsAtCheck = 1000;
    std::vector<pid_t> requested;
};

TEST_F(ConflictFixture, PresentsThePanelWithCloseThenContinue) {
    present();
    ASSERT_TRUE(controller.window()->isVisible());
    EXPECT_EQ(controller.window()->windowTitle(), "Tavrino");
    ASSERT_EQ(controller.buttons().size(), 2u);
    EXPECT_EQ(controller.buttons()[0]->text(), "닫기");
    EXPECT_EQ(controller.buttons()[1]->text(), "이전 Tavrino 종료 후 계속");
    EXPECT_TRUE(controller.buttons()[1]->isDefault());
    EXPECT_EQ(text().toStdString(), ConflictTexts::body());
    EXPECT_TRUE(log.contains("충돌 창 띄움(이전 pid 4242)"));
}

TEST_F(ConflictFixture, OlderCopyEndingAfterThreeSecondsContinuesAtTheNextTick) {
    endsAtCheck = 15;  // 15 × 0.2 s
    present();
    controller.buttons()[1]->click();
    EXPECT_TRUE(controller.waiting());
    EXPECT_FALSE(buttonsEnabled());
    EXPECT_EQ(text().toStdString(), ConflictTexts::waiting());
    EXPECT_EQ(requested, std::vector<pid_t>{4242});
    EXPECT_TRUE(log.contains("이전 Tavrino(pid 4242)에 종료 요청"));

    // Return or a second click while waiting starts nothing new.
    controller.continueAfterQuit();
    EXPECT_EQ(requested.size(), 1u);

    clock.advance(2.9);
    EXPECT_EQ(continued, 0);
    EXPECT_TRUE(controller.window()->isVisible());
    clock.advance(0.1);
    EXPECT_EQ(continued, 1);
    EXPECT_FALSE(controller.window()->isVisible());
    EXPECT_FALSE(controller.waiting());
    EXPECT_TRUE(log.contains("이전 Tavrino 종료 확인 — 이어서 시작"));
    EXPECT_EQ(clock.pending(), 0u);

    // Hidden after a completed hand-over, closing it later does not end the program.
    controller.window()->close();
    EXPECT_EQ(quits, 0);
}

TEST_F(ConflictFixture, WaitingRefusesToCloseByEitherControl) {
    present();
    controller.continueAfterQuit();
    EXPECT_FALSE(controller.window()->close());
    EXPECT_TRUE(controller.window()->isVisible());
    EXPECT_TRUE(log.contains("충돌 창 닫기 막음(기다리는 중)"));
    EXPECT_FALSE(controller.window()->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    controller.buttons()[0]->click();  // disabled: no effect
    EXPECT_EQ(quits, 0);
}

TEST_F(ConflictFixture, GivingUpAfterTheLastTryAllowsAnotherWaitOrClosing) {
    present();
    controller.continueAfterQuit();
    clock.advance(9.8);
    EXPECT_TRUE(controller.waiting());
    clock.advance(0.2);
    EXPECT_FALSE(controller.waiting());
    EXPECT_EQ(checks, 50);
    EXPECT_TRUE(buttonsEnabled());
    EXPECT_EQ(text().toStdString(), ConflictTexts::timedOut());
    EXPECT_TRUE(log.contains("이전 Tavrino가 10초 안에 끝나지 않음"));
    EXPECT_TRUE(controller.window()->windowFlags().testFlag(Qt::WindowCloseButtonHint));

    endsAtCheck = checks + 2;
    controller.continueAfterQuit();
    EXPECT_EQ(requested.size(), 2u);
    clock.advance(0.4);
    EXPECT_EQ(continued, 1);
}

TEST_F(ConflictFixture, ClosingBeforeTheHandOverEndsThisCopy) {
    present();
    EXPECT_TRUE(controller.window()->close());
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(continued, 0);

    present();
    controller.buttons()[0]->click();
    EXPECT_EQ(quits, 2);
}

}  // namespace
}  // namespace tavrino::app
