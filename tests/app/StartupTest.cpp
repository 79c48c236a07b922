// The normal start and the tray menu: the menu's entries, the first-launch welcome that
// shows once, and the notices file missing from a build-tree run.

#include <gtest/gtest.h>

#include <filesystem>

#include <QCoreApplication>

#include "app/Autostart.h"

#include <QMenu>
#include <QSystemTrayIcon>

#include "Fakes.h"
#include "app/AppDelegate.h"
#include "app/StatusMenu.h"
#include "app/WelcomeWindowController.h"
#include "support/Fixtures.h"
#include "support/ScopedEnv.h"

namespace tavrino::app {
namespace {

class CountingWatcher : public DragWatcher {
  public:
    explicit CountingWatcher(int& starts) : starts_(starts) {}
    void start() override { ++starts_; }

  private:
    int& starts_;
};

TEST(StatusMenu, EntriesInOrderWithTheVersionInTheDisabledHeading) {
    using Action = StatusMenuEntry::Action;
    const auto entries = statusMenuEntries("1.2.0");
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries[0], (StatusMenuEntry{false, "Tavrino 1.2.0", Action::none, "", false}));
    EXPECT_TRUE(entries[1].separator);
    EXPECT_EQ(entries[2].title, "사용법 안내…");
    EXPECT_EQ(entries[2].action, Action::showWelcome);
    EXPECT_EQ(entries[3].title, "오픈소스 고지…");
    EXPECT_EQ(entries[3].action, Action::openNotices);
    EXPECT_TRUE(entries[4].separator);
    EXPECT_EQ(entries[5], (StatusMenuEntry{false, "Tavrino 종료", Action::quit, "Ctrl+Q", true}));
    EXPECT_EQ(statusMenuEntries(std::nullopt)[0].title, "Tavrino");
    EXPECT_EQ(statusMenuEntries("")[0].title, "Tavrino");
}

struct StartupFixture : ::testing::Test {
    ~StartupFixture() override { WelcomeWindowController::shared().makeWindow()->hide(); }
    test::TempDir config;
    test::ScopedEnv configHome{"XDG_CONFIG_HOME", config.path().string()};
    test::LogCapture log;
};

TEST_F(StartupFixture, StartAtLoginEntryFollowsTheSetting) {
    int starts = 0;
    const auto entry = autostartEntry(config.path());
    {
        AppDelegate delegate(std::make_unique<CountingWatcher>(starts));
        delegate.startNormally();
    }
    ASSERT_TRUE(std::filesystem::exists(entry));
    const std::string text = test::readBytes(entry);
    EXPECT_TRUE(text.starts_with("[Desktop Entry]\n"));
    EXPECT_NE(text.find("\nExec=" + QCoreApplication::applicationFilePath().toStdString() + "\n"),
              std::string::npos)
        << text;
    EXPECT_FALSE(std::filesystem::exists(entry.string() + ".part"));

    AppDelegate::settings()->setValue("startAtLogin", false);
    {
        AppDelegate delegate(std::make_unique<CountingWatcher>(starts));
        delegate.startNormally();
    }
    EXPECT_FALSE(std::filesystem::exists(entry));
}

TEST_F(StartupFixture, FirstStartShowsTheWelcomeOnceAndBuildsTheTrayMenu) {
    int starts = 0;
    {
        AppDelegate delegate(std::make_unique<CountingWatcher>(starts));
        EXPECT_FALSE(delegate.started());
        delegate.startNormally();
        EXPECT_TRUE(delegate.started());
        EXPECT_EQ(starts, 1);
        ASSERT_NE(delegate.statusItem(), nullptr);
        EXPECT_FALSE(delegate.statusItem()->icon().isNull());
        EXPECT_EQ(delegate.statusItem()->toolTip(), "Tavrino");

        const QList<QAction*> actions = delegate.statusItem()->contextMenu()->actions();
        ASSERT_EQ(actions.size(), 6);
        EXPECT_EQ(actions[0]->text(), "Tavrino");  // a build-tree run has no version
        EXPECT_FALSE(actions[0]->isEnabled());
        EXPECT_TRUE(actions[1]->isSeparator());
        EXPECT_EQ(actions[5]->text(), "Tavrino 종료");
        EXPECT_EQ(actions[5]->shortcut(), QKeySequence("Ctrl+Q"));

        EXPECT_TRUE(WelcomeWindowController::shared().makeWindow()->isVisible());
        EXPECT_TRUE(AppDelegate::settings()->value("welcomeShown").toBool());
        EXPECT_TRUE(log.contains("안내 창 띄움(첫 실행)"));

        WelcomeWindowController::shared().makeWindow()->hide();
        actions[2]->trigger();
        EXPECT_TRUE(WelcomeWindowController::shared().makeWindow()->isVisible());
        EXPECT_TRUE(log.contains("안내 창 띄움(메뉴)"));

        actions[3]->trigger();
        EXPECT_TRUE(log.contains("오픈소스 고지 파일 없음"));
    }
    WelcomeWindowController::shared().makeWindow()->hide();
    AppDelegate later(std::make_unique<CountingWatcher>(starts));
    later.startNormally();
    EXPECT_FALSE(WelcomeWindowController::shared().makeWindow()->isVisible());
    const auto lines = log.messages();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "안내 창 띄움(첫 실행)"), 1);
}

}  // namespace
}  // namespace tavrino::app
