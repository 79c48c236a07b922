#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "wheel/WheelPanel.h"

using namespace tavrino;
using namespace tavrino::wheel;

namespace {

// Runs the event loop until the condition holds or two seconds pass.
bool waitFor(const std::function<bool()>& condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 2000)
        QTest::qWait(5);
    return condition();
}

}  // namespace

TEST(WheelPanel, IsAFramelessTopmostWindowThatNeverTakesFocus) {
    WheelPanel panel;
    EXPECT_EQ(panel.size(), QSize(352, 352));
    const Qt::WindowFlags flags = panel.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(panel.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(panel.wheel()->geometry(), QRect(0, 0, 352, 352));
}

TEST(WheelPanel, PresentCentresOnThePointerAndPopsIn) {
    WheelPanel panel;
    double now = 10;
    panel.setClock([&] { return now; });
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_GE(screen.width(), 352);
    ASSERT_GE(screen.height(), 352);
    panel.present(screen.center());
    // The wheel's centre, 176 points into the panel, is under the pointer.
    EXPECT_EQ(panel.pos() + QPoint(176, 176), screen.center());
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.alpha(), 0);
    EXPECT_DOUBLE_EQ(panel.contentScale(), 0.86);
    now += 0.06;
    panel.stepFrame();
    EXPECT_NEAR(panel.alpha(), 0.5, 1e-9);
    now += 2;
    panel.stepFrame();
    EXPECT_EQ(panel.alpha(), 1);
    EXPECT_EQ(panel.contentScale(), 1);
    EXPECT_FALSE(panel.isAnimating());

    // Near the bottom-right corner the panel is pushed back inside the visible area.
    panel.present(screen.bottomRight() - QPoint(5, 5));
    EXPECT_EQ(panel.geometry().bottomRight(), screen.bottomRight());
    panel.hide();
}

TEST(WheelPanel, DismissalIsDroppedWhileANewRunWorks) {
    WheelPanel panel;
    panel.present(QGuiApplication::primaryScreen()->availableGeometry().center());
    panel.dismiss(0.05);
    panel.wheel()->setHubState(HubWorking{0, 2, ""});
    QTest::qWait(300);
    EXPECT_TRUE(panel.isVisible());
    panel.wheel()->setHubState(HubIdle{});
    panel.hide();
}

TEST(WheelPanel, DismissalFadesOutAndLeavesAlphaReady) {
    WheelPanel panel;
    panel.present(QGuiApplication::primaryScreen()->availableGeometry().center());
    panel.wheel()->setHubState(HubDone{"완료"});
    panel.dismiss(0.02);
    EXPECT_TRUE(waitFor([&] { return !panel.isVisible(); }));
    EXPECT_EQ(panel.alpha(), 1);
    EXPECT_FALSE(panel.isAnimating());
}

TEST(WheelPanel, DismissalOfAnEarlierWheelSparesTheNextOne) {
    WheelPanel panel;
    const QPoint middle = QGuiApplication::primaryScreen()->availableGeometry().center();
    panel.present(middle);
    panel.dismiss(0.15);
    panel.present(middle);  // a new drag before the old dismissal fires
    QTest::qWait(400);
    EXPECT_TRUE(panel.isVisible());
    panel.dismiss(0);
    EXPECT_TRUE(waitFor([&] { return !panel.isVisible(); }));
}
