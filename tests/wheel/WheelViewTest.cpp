#include <gtest/gtest.h>

#include <QUrl>

#include "menu/MenuRules.h"
#include "wheel/WheelView.h"

using namespace tavrino;
using namespace tavrino::wheel;

namespace {

// A view of the standard size on a clock the test moves by hand.
struct ClockedView {
    double now = 100;
    WheelView view;
    ClockedView() {
        view.resize(352, 352);
        view.setClock([this] { return now; });
    }
    // Steps the easing at 120 Hz until the timer stops; returns the number of steps.
    int settle() {
        int steps = 0;
        while (view.isAnimating() && steps < 1000) {
            now += 1.0 / 120;
            view.stepAnimation();
            ++steps;
        }
        return steps;
    }
};

// Qt positions (y down) of the standard wheel.
const QPointF abovePetal0(176, 76);
const QPointF onHub(176, 176);

}  // namespace

TEST(WheelView, ConfigureResetsMenuHoverAndHub) {
    ClockedView c;
    c.view.setHovered(1);
    c.view.setHubState(HubDone{"완료"});
    c.view.configure(std::nullopt, false);
    const std::vector<std::filesystem::path> none;
    EXPECT_EQ(c.view.slots(), menuItems(none, MenuKind::convert));
    EXPECT_EQ(c.view.progress(), std::vector<double>(c.view.slots().size(), 0.0));
    EXPECT_EQ(c.view.hovered(), std::nullopt);
    EXPECT_TRUE(isIdle(c.view.hubState()));
    EXPECT_FALSE(c.view.info().has_value());
}

TEST(WheelView, HoverEasingConvergesAndStopsItsTimer) {
    ClockedView c;
    c.view.setHovered(2);
    EXPECT_TRUE(c.view.isAnimating());
    EXPECT_GT(c.settle(), 10);
    EXPECT_FALSE(c.view.isAnimating());
    EXPECT_EQ(c.view.progress(), (std::vector<double>{0, 0, 1, 0, 0, 0}));

    c.view.setHovered(3);
    c.settle();
    EXPECT_EQ(c.view.progress(), (std::vector<double>{0, 0, 0, 1, 0, 0}));

    // Onto the hub: nothing hovered, petal 3 eases back to exactly 0.
    EXPECT_FALSE(c.view.dragMovedTo(onHub));
    EXPECT_EQ(c.view.hovered(), std::nullopt);
    EXPECT_TRUE(c.view.isAnimating());
    c.settle();
    EXPECT_EQ(c.view.progress(), std::vector<double>(6, 0.0));
    EXPECT_FALSE(c.view.isAnimating());
}

TEST(WheelView, StayingOnAPetalStartsNothing) {
    ClockedView c;
    c.view.setHovered(3);
    c.settle();
    c.view.setHovered(3);
    EXPECT_FALSE(c.view.isAnimating());
    c.view.setHovered(std::nullopt);
    c.view.setHovered(std::nullopt);
    EXPECT_TRUE(c.view.isAnimating());
}

TEST(WheelView, SpinnerRunsExactlyWhileWorking) {
    ClockedView c;
    c.view.setHubState(HubWorking{0, 3, ""});
    EXPECT_TRUE(c.view.isSpinning());
    c.now += 1.5;
    c.view.setHubState(HubWorking{1, 3, ""});  // progress keeps the first start time
    EXPECT_DOUBLE_EQ(c.view.workingTime(), 1.5);
    c.view.setHubState(HubDone{"3개 완료"});
    EXPECT_FALSE(c.view.isSpinning());
    c.view.setHubState(HubWorking{0, 1, ""});
    EXPECT_DOUBLE_EQ(c.view.workingTime(), 0);
    c.view.setFixedElapsed(2.5);
    EXPECT_DOUBLE_EQ(c.view.workingTime(), 2.5);
    c.view.configure(std::nullopt, true);
    EXPECT_FALSE(c.view.isSpinning());
}

TEST(WheelView, BusyHubRefusesDragsAndKeepsHover) {
    ClockedView c;
    c.view.setHovered(1);
    c.view.setHubState(HubWorking{0, 2, ""});
    EXPECT_FALSE(c.view.dragMovedTo(abovePetal0));
    EXPECT_EQ(c.view.hovered(), 1);
    c.view.setHubState(HubFailed{"실패"});
    EXPECT_FALSE(c.view.dragMovedTo(abovePetal0));
    c.view.setHubState(HubIdle{});
    EXPECT_TRUE(c.view.dragMovedTo(abovePetal0));
    EXPECT_EQ(c.view.hovered(), 0);
    c.view.dragLeft();
    EXPECT_EQ(c.view.hovered(), std::nullopt);
}

TEST(WheelView, DropHandsLocalFilesToTheHandler) {
    ClockedView c;
    std::vector<std::pair<WheelItem, std::vector<std::filesystem::path>>> calls;
    c.view.setOnDrop([&](const WheelItem& item, std::vector<std::filesystem::path> files) {
        calls.emplace_back(item, std::move(files));
    });
    const QList<QUrl> urls{QUrl::fromLocalFile("/tmp/a.png"), QUrl("https://example.org/x.png"),
                           QUrl::fromLocalFile("/tmp/b c.png")};
    EXPECT_FALSE(c.view.dropAt(onHub, urls));
    EXPECT_FALSE(c.view.dropAt(QPointF(-5, -5), urls));
    EXPECT_FALSE(c.view.dropAt(abovePetal0, {QUrl("https://example.org/x.png")}));
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(c.view.dropAt(QPointF(176, 276), urls));  // below the hub: petal 3
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].first, WheelItem(ConvertItem{Fmt::tiff}));
    EXPECT_EQ(calls[0].second, (std::vector<std::filesystem::path>{"/tmp/a.png", "/tmp/b c.png"}));
}
