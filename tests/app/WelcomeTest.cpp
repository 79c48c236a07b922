// The welcome window and its wording: one panel reused, centred on the screen under the
// pointer, Return for "확인", the layout's width and growth, and the Linux wording per desktop.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "app/AnvilIcon.h"
#include "app/Panel.h"
#include "app/PanelLayout.h"
#include "app/WelcomeText.h"
#include "app/WelcomeWindowController.h"

namespace tavrino::app {
namespace {

QPushButton* buttonTitled(QWidget* panel, const QString& title) {
    for (auto* button : panel->findChildren<QPushButton*>()) {
        if (button->text() == title) return button;
    }
    return nullptr;
}

TEST(WelcomeWindow, IsBuiltOnceAndReturnOnlyHidesIt) {
    WelcomeWindowController controller(Desktop::xfce, WheelSupport::x11);
    int quits = 0;
    controller.quit = [&] { ++quits; };
    Panel* panel = controller.makeWindow();
    EXPECT_EQ(controller.makeWindow(), panel);
    EXPECT_EQ(controller.buttonTitles(),
              (std::vector<QString>{"패널 설정 열기", "Tavrino 종료", "확인"}));

    controller.showWindow();
    ASSERT_TRUE(panel->isVisible());
    QTest::keyClick(panel, Qt::Key_Return);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(quits, 0);

    controller.showWindow();
    EXPECT_EQ(controller.makeWindow(), panel);
    EXPECT_TRUE(panel->isVisible());
    buttonTitled(panel, "Tavrino 종료")->click();
    EXPECT_EQ(quits, 1);
    panel->hide();
}

TEST(WelcomeWindow, StartAtLoginCheckboxShowsAndChangesTheSetting) {
    for (const bool saved : {true, false}) {
        WelcomeWindowController controller(Desktop::other, WheelSupport::x11);
        std::vector<bool> changes;
        controller.startsAtLogin = [&] { return saved; };
        controller.setStartAtLogin = [&](bool enabled) { changes.push_back(enabled); };
        Panel* panel = controller.makeWindow();
        const auto boxes = panel->findChildren<QCheckBox*>();
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_EQ(boxes.front()->text(), WelcomeTexts::startAtLogin);
        EXPECT_EQ(boxes.front()->isChecked(), saved);
        boxes.front()->click();
        boxes.front()->click();
        EXPECT_EQ(changes, (std::vector<bool>{!saved, saved}));
    }
}

// Wherever the wheel cannot open yet, the window names what works instead; where it opens,
// it does not.
TEST(WelcomeText, WaylandSessionsWithoutTheWheelAreToldWhatStillWorks) {
    EXPECT_NE(waylandAlternatives().find("tavrino-cli"), std::string::npos);
    for (WheelSupport support :
         {WheelSupport::companionOff, WheelSupport::companionUnread, WheelSupport::unsupported}) {
        EXPECT_NE(welcomeBody(Desktop::gnome, support).find(waylandAlternatives()),
                  std::string::npos);
    }
    for (WheelSupport support : {WheelSupport::x11, WheelSupport::companionActive}) {
        EXPECT_EQ(welcomeBody(Desktop::gnome, support).find(waylandAlternatives()),
                  std::string::npos);
    }
}

TEST(WelcomeWindow, SettingsButtonHidesThePanelAndLaunchesTheDesktopsTool) {
    WelcomeWindowController controller(Desktop::xfce, WheelSupport::x11);
    std::vector<std::vector<std::string>> launched;
    controller.launch = [&](const std::vector<std::string>& command) {
        launched.push_back(command);
        return true;
    };
    controller.showWindow();
    controller.openSettings();
    EXPECT_FALSE(controller.makeWindow()->isVisible());
    // Nothing is launched unless the program is installed; here it may not be.
    for (const auto& command : launched)
        EXPECT_EQ(command.front(), "xfce4-panel");
}

TEST(WelcomeWindow, UnknownDesktopHasNoSettingsButtonButSaysWhereTheTrayIs) {
    WelcomeWindowController controller(Desktop::other, WheelSupport::x11);
    controller.makeWindow();
    EXPECT_EQ(controller.buttonTitles(), (std::vector<QString>{"Tavrino 종료", "확인"}));
    EXPECT_NE(welcomeBody(Desktop::other, WheelSupport::x11).find("시스템 트레이(알림 영역)"),
              std::string::npos);
}

TEST(WelcomePanel, IsFourHundredTwentyWideAndGrowsWithItsText) {
    PanelDelegate delegate;
    auto shortPanel = PanelLayout::makePanel("t", "head", "짧은 글", nullptr, {}, &delegate);
    auto longPanel = PanelLayout::makePanel("t", "head", QString("아주 긴 글 ").repeated(60),
                                            nullptr, {}, &delegate);
    EXPECT_EQ(shortPanel.panel->width(), 420);
    EXPECT_EQ(longPanel.panel->width(), 420);
    EXPECT_GT(longPanel.panel->height(), shortPanel.panel->height() + 60);
    EXPECT_TRUE(longPanel.body->wordWrap());
    EXPECT_LE(longPanel.body->width(), 380);
    delete shortPanel.panel;
    delete longPanel.panel;
}

TEST(WelcomePanel, IsCentredOnTheAvailableAreaOfTheScreenUnderThePointer) {
    PanelDelegate delegate;
    auto built = PanelLayout::makePanel("t", "head", "body", nullptr, {}, &delegate);
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    PanelLayout::show(built.panel);
    const QRect area = screen->availableGeometry();
    const QRect frame = built.panel->frameGeometry();
    EXPECT_NEAR(frame.center().x(), area.center().x(), 2);
    EXPECT_NEAR(frame.center().y(), area.center().y(), 2);
    delete built.panel;
}

TEST(WelcomeIcon, AnvilFillsItsFrameAndLeavesTheSparksApart) {
    const QImage icon = AnvilIcon::menuBarIcon(Qt::black, 4.0);
    ASSERT_EQ(icon.size(), QSize(88, 72));
    const auto ink = [&](double x, double y) { return qAlpha(icon.pixel(x * 4, y * 4)) > 200; };
    EXPECT_TRUE(ink(12, 10));      // the body
    EXPECT_TRUE(ink(6, 16.5));     // the foot
    EXPECT_TRUE(ink(13.9, 2.9));   // the larger spark's centre
    EXPECT_TRUE(ink(17.4, 1.2));   // the smaller spark's centre
    EXPECT_FALSE(ink(2, 2));       // above the horn
    EXPECT_FALSE(ink(6.5, 12.5));  // left of the waist, under the horn
    EXPECT_FALSE(ink(14, 5));      // between the sparks and the face
    EXPECT_FALSE(ink(1.5, 15));    // below the horn

    const QImage tray = AnvilIcon::trayIcon(Qt::white, 32);
    EXPECT_EQ(tray.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(tray.pixel(0, 0)), 0);
    EXPECT_GT(qAlpha(tray.pixel(16, 17)), 200);
}

TEST(WelcomeText, DesktopIsReadFromTheCurrentDesktopList) {
    EXPECT_EQ(desktopFrom("ubuntu:GNOME"), Desktop::gnome);
    EXPECT_EQ(desktopFrom("KDE"), Desktop::kde);
    EXPECT_EQ(desktopFrom("X-Cinnamon"), Desktop::cinnamon);
    EXPECT_EQ(desktopFrom("XFCE"), Desktop::xfce);
    EXPECT_EQ(desktopFrom("mate"), Desktop::mate);
    EXPECT_EQ(desktopFrom("GNOME-Flashback:GNOME"), Desktop::gnome);
    EXPECT_EQ(desktopFrom(""), Desktop::other);
    EXPECT_EQ(desktopFrom("Unity7"), Desktop::other);
}

TEST(WelcomeText, BodyNamesLinuxThingsInThreeParagraphs) {
    for (Desktop desktop : {Desktop::gnome, Desktop::kde, Desktop::xfce, Desktop::cinnamon,
                            Desktop::mate, Desktop::other}) {
        const std::string body = welcomeBody(desktop, WheelSupport::x11);
        EXPECT_TRUE(
            body.starts_with("파일을 끌어 옮기는 동안 Shift를 누르고 있으면 변환 메뉴, "
                             "Alt를 누르고 있으면 도구 메뉴가 뜹니다.\n\n"));
        EXPECT_NE(body.find("모루 아이콘"), std::string::npos);
        EXPECT_NE(body.find("아이콘이 안 보이면 " + traySettings(desktop).hint + "."),
                  std::string::npos);
        EXPECT_EQ(body.find("\n\n\n"), std::string::npos);
        size_t paragraphs = 1;
        for (size_t at = body.find("\n\n"); at != std::string::npos; at = body.find("\n\n", at + 2))
            ++paragraphs;
        EXPECT_EQ(paragraphs, 3u);
    }
}

TEST(WelcomeText, WaylandSaysWhetherTheWheelWorksAndWhatToDo) {
    const auto body = [](WheelSupport support) { return welcomeBody(Desktop::gnome, support); };
    const auto has = [](const std::string& text, const char* part) {
        return text.find(part) != std::string::npos;
    };
    // The old advice to leave Wayland is gone wherever the wheel works or can be made to.
    for (WheelSupport support : {WheelSupport::x11, WheelSupport::companionActive,
                                 WheelSupport::companionOff, WheelSupport::companionUnread}) {
        EXPECT_FALSE(has(body(support), "X11(Xorg)")) << static_cast<int>(support);
    }
    EXPECT_TRUE(has(body(WheelSupport::companionActive), "켜져 있어 원형 메뉴가 뜹니다"));
    EXPECT_TRUE(has(body(WheelSupport::companionOff), "\"끌기 도우미 켜기\"를 누르세요"));
    EXPECT_TRUE(has(body(WheelSupport::companionUnread), "로그아웃했다가 다시 로그인"));
    EXPECT_TRUE(has(body(WheelSupport::unsupported), "원형 메뉴가 뜨지 않습니다"));
    EXPECT_TRUE(has(body(WheelSupport::unsupported), "tavrino-cli"));
    EXPECT_FALSE(has(body(WheelSupport::x11), "Wayland"));
}

TEST(WelcomeText, OnKdeTheReporterIsCalledAKwinEffect) {
    for (WheelSupport support : {WheelSupport::companionActive, WheelSupport::companionOff,
                                 WheelSupport::companionUnread}) {
        const std::string kde = welcomeBody(Desktop::kde, support);
        EXPECT_NE(kde.find("KWin 효과 \"Tavrino drag reporter\""), std::string::npos) << kde;
        EXPECT_EQ(kde.find("GNOME Shell"), std::string::npos) << kde;
        EXPECT_NE(welcomeBody(Desktop::gnome, support).find("GNOME Shell 확장"), std::string::npos);
    }
    EXPECT_NE(
        welcomeBody(Desktop::kde, WheelSupport::companionUnread).find("KWin은 효과를 로그인할 때"),
        std::string::npos);
}

TEST(WelcomeWindow, OffersToSwitchTheReporterOnOnlyWhereItIsOff) {
    WelcomeWindowController off(Desktop::gnome, WheelSupport::companionOff);
    int enables = 0;
    off.enable = [&] {
        ++enables;
        return true;
    };
    off.showWindow();
    EXPECT_EQ(off.buttonTitles(),
              (std::vector<QString>{"끌기 도우미 켜기", "Tavrino 종료", "확인"}));
    buttonTitled(off.makeWindow(), "끌기 도우미 켜기")->click();
    EXPECT_EQ(enables, 1);
    EXPECT_FALSE(off.makeWindow()->isVisible());

    WelcomeWindowController active(Desktop::gnome, WheelSupport::companionActive);
    active.makeWindow();
    EXPECT_EQ(active.buttonTitles().front(), "확장 프로그램 열기");
}

}  // namespace
}  // namespace tavrino::app
