// Tests that need a display and a private session bus (run under xvfb-run inside
// dbus-run-session): the copies' messages over D-Bus, notifications received by a small
// fake notification server, and real copies of the program handing over to each other.

#include <gtest/gtest.h>
#include <signal.h>

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sstream>

#include "Fakes.h"
#include "TestBundle.h"
#include "app/Companion.h"
#include "app/DBusCopyBus.h"
#include "app/Notifier.h"
#include "support/Fixtures.h"
#include "support/Process.h"
#include "support/ScopedEnv.h"

namespace tavrino::app {
namespace {

QDBusConnection privateConnection(const QString& name) {
    return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
}

TEST(DBusCopyBus, CarriesNameAndObjectAndTellsAbsenceFromEmpty) {
    DBusCopyBus sender(privateConnection("copy-sender"));
    DBusCopyBus receiver(privateConnection("copy-receiver"));
    ASSERT_TRUE(sender.connected());
    std::vector<std::optional<std::string>> received;
    receiver.listen("app.korvanta.tavrino.show-welcome",
                    [&](const std::optional<std::string>& object) { received.push_back(object); });
    int others = 0;
    receiver.listen("app.korvanta.tavrino.welcome-ack", [&](const auto&) { ++others; });

    sender.post("app.korvanta.tavrino.show-welcome", "4242");
    sender.post("app.korvanta.tavrino.show-welcome", std::nullopt);
    sender.post("app.korvanta.tavrino.show-welcome", "");
    sender.post("app.korvanta.tavrino.dev.show-welcome", "1");  // another identity
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 3; }, 5000));
    QTest::qWait(100);
    EXPECT_EQ(received, (std::vector<std::optional<std::string>>{"4242", std::nullopt, ""}));
    EXPECT_EQ(others, 0);
}

// The notification service as the desktop would run it, recording what it was sent.
class FakeNotificationServer : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
  public:
    explicit FakeNotificationServer(QStringList capabilities, bool refuse = false)
        : connection_(privateConnection("notification-server")),
          capabilities_(std::move(capabilities)),
          refuse_(refuse) {
        connection_.registerObject("/org/freedesktop/Notifications", this,
                                   QDBusConnection::ExportAllSlots);
        registered = connection_.registerService("org.freedesktop.Notifications");
    }
    ~FakeNotificationServer() override {
        connection_.unregisterService("org.freedesktop.Notifications");
        QDBusConnection::disconnectFromBus("notification-server");
    }

    bool registered = false;
    QStringList summaries, bodies, appNames;

  public Q_SLOTS:
    QStringList GetCapabilities() { return capabilities_; }
    uint Notify(const QString& appName, uint, const QString&, const QString& summary,
                const QString& body, const QStringList&, const QVariantMap&, int) {
        if (refuse_) {
            sendErrorReply(QDBusError::AccessDenied, "알림이 꺼져 있음");
            return 0;
        }
        appNames << appName;
        summaries << summary;
        bodies << body;
        return summaries.size();
    }

  private:
    QDBusConnection connection_;
    QStringList capabilities_;
    bool refuse_;
};

struct NotifierFixture : ::testing::Test {
    Notifier notifier{true, privateConnection("notifier-client")};
    test::LogCapture log;
    int finished = 0;
    NotifierFixture() {
        QObject::connect(&notifier, &Notifier::finished, [this] { ++finished; });
    }
    void postAndWait(const std::string& title, const std::vector<std::string>& lines) {
        const int before = finished;
        notifier.post(title, lines);
        ASSERT_TRUE(QTest::qWaitFor([&] { return finished > before; }, 5000));
    }
};

TEST_F(NotifierFixture, ServerReceivesExactlyTheTitleAndTwoBodyLines) {
    FakeNotificationServer server({"body"});
    ASSERT_TRUE(server.registered);
    postAndWait("변환 확인 필요", {"보고서.hwp: 표 2개", "글꼴 1개", "세 번째 줄"});
    postAndWait("빈 본문", {});
    ASSERT_EQ(server.summaries.size(), 2);
    EXPECT_EQ(server.summaries[0], "변환 확인 필요");
    EXPECT_EQ(server.bodies[0], "보고서.hwp: 표 2개\n글꼴 1개");
    EXPECT_EQ(server.summaries[1], "빈 본문");
    EXPECT_EQ(server.bodies[1], "");
    EXPECT_EQ(server.appNames[0], "Tavrino");
    EXPECT_TRUE(log.messages().empty());
}

TEST_F(NotifierFixture, MarkupServersGetFileNamesEscaped) {
    FakeNotificationServer server({"body", "body-markup"});
    postAndWait("확인 필요", {"a<b>&c.hwp"});
    ASSERT_EQ(server.bodies.size(), 1);
    EXPECT_EQ(server.bodies[0], "a&lt;b&gt;&amp;c.hwp");
}

TEST_F(NotifierFixture, EveryFailureEndsInExactlyOneLogLine) {
    postAndWait("서버 없음", {"x"});
    auto lines = log.messages();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("알림 권한 없음 — 로그만 남김: 서버 없음 (")) << lines[0];

    {
        FakeNotificationServer refusing({"body"}, true);
        postAndWait("거절", {"x"});
    }
    lines = log.messages();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "알림 보내기 실패: 알림이 꺼져 있음");

    Notifier outside(false, privateConnection("notifier-outside"));
    outside.post("묶음 밖", {"x"});
    lines = log.messages();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], "알림 생략(앱 묶음 아님): 묶음 밖");
}

// A copy of the installed program with its output collected line by line.
class RunningProgram {
  public:
    RunningProgram(const test::TestBundle& bundle, const test::TempDir& home) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", QString::fromStdString((home / "config").string()));
        env.insert("XDG_STATE_HOME", QString::fromStdString((home / "state").string()));
        env.remove("QT_QPA_PLATFORM");
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        timer_.start();
        process_.start(QString::fromStdString(bundle.program().string()), {});
        process_.waitForStarted();
    }
    ~RunningProgram() {
        if (process_.state() != QProcess::NotRunning) {
            ::kill(process_.processId(), SIGCONT);
            process_.kill();
            process_.waitForFinished();
        }
    }
    pid_t pid() const { return static_cast<pid_t>(process_.processId()); }
    // Waits until a log line holding `text` appears; returns the seconds since start.
    std::optional<double> waitFor(const std::string& text, int timeoutMs = 8000) {
        const bool seen = QTest::qWaitFor(
            [&] {
                output_ += process_.readAllStandardOutput().toStdString();
                return output_.find(text) != std::string::npos;
            },
            timeoutMs);
        if (!seen) return std::nullopt;
        return timer_.elapsed() / 1000.0;
    }
    bool waitForExit(int timeoutMs = 5000) {
        return QTest::qWaitFor([&] { return process_.state() == QProcess::NotRunning; }, timeoutMs);
    }
    int exitCode() const { return process_.exitCode(); }
    const std::string& output() const { return output_; }

  private:
    QProcess process_;
    QElapsedTimer timer_;
    std::string output_;
};

void pressKey(const std::string& key) {
    const auto result = test::runProgram({"xdotool", "key", key});
    ASSERT_EQ(result.status, 0) << result.err;
}

TEST(CopiesHandOver, SecondCopyAsksTheFirstToShowItsWelcomeAndQuits) {
    const test::TestBundle bundle;
    const test::TempDir home;
    RunningProgram first(bundle, home);
    ASSERT_TRUE(first.waitFor("안내 창 띄움(첫 실행)")) << first.output();

    RunningProgram second(bundle, home);
    ASSERT_TRUE(second.waitFor("기존 인스턴스 응답 — 종료")) << second.output();
    EXPECT_NE(second.output().find("이미 실행 중(pid " + std::to_string(first.pid()) + ")"),
              std::string::npos);
    ASSERT_TRUE(second.waitForExit());
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(first.waitFor("안내 창 띄움(두 번째 인스턴스)")) << first.output();
}

TEST(CopiesHandOver, SilentOlderCopyLeadsToTheConflictWindowUntilItEnds) {
    if (!test::haveProgram("xdotool")) GTEST_SKIP() << "xdotool is not installed";
    const test::TestBundle bundle;
    const test::TempDir home;
    RunningProgram older(bundle, home);
    ASSERT_TRUE(older.waitFor("안내 창 띄움(첫 실행)")) << older.output();
    ::kill(older.pid(), SIGSTOP);  // hung: it can no longer answer

    RunningProgram newer(bundle, home);
    const auto shownAt =
        newer.waitFor("충돌 창 띄움(이전 pid " + std::to_string(older.pid()) + ")");
    ASSERT_TRUE(shownAt) << newer.output();
    EXPECT_GE(*shownAt, 1.0);
    EXPECT_NE(newer.output().find("응답 없음 — 충돌 창"), std::string::npos);

    QTest::qWait(300);
    pressKey("Return");  // the continue button is the default
    ASSERT_TRUE(newer.waitFor("에 종료 요청")) << newer.output();
    QTest::qWait(300);
    pressKey("Escape");  // closing is refused while waiting
    ASSERT_TRUE(newer.waitFor("충돌 창 닫기 막음(기다리는 중)")) << newer.output();

    // The stopped copy now receives the pending quit request and ends.
    ::kill(older.pid(), SIGCONT);
    ASSERT_TRUE(older.waitForExit());
    ASSERT_TRUE(newer.waitFor("안내 창 띄움(이전 판 종료 후)")) << newer.output();
    EXPECT_NE(newer.output().find("이전 Tavrino 종료 확인 — 이어서 시작"), std::string::npos);
}

// The desktop's tray host as a StatusNotifierItem watcher: the tray item registers here.
class FakeTrayHost : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
  public:
    FakeTrayHost() : connection_(privateConnection("tray-host")) {
        connection_.registerObject(
            "/StatusNotifierWatcher", this,
            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties);
        registered = connection_.registerService("org.kde.StatusNotifierWatcher");
    }
    ~FakeTrayHost() override {
        connection_.unregisterService("org.kde.StatusNotifierWatcher");
        QDBusConnection::disconnectFromBus("tray-host");
    }
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const { return items_; }
    bool registered = false;

  public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString& service) { items_ << service; }
    void RegisterStatusNotifierHost(const QString&) {}

  private:
    QDBusConnection connection_;
    QStringList items_;
};

// The labels of the exported tray menu in order, "-" for a separator, " (off)" appended to
// disabled entries, read with dbus-send as a tray host would read them.
std::vector<std::string> trayMenu(const QString& service) {
    const auto reply = test::runProgram(
        {"dbus-send", "--session", "--print-reply", "--dest=" + service.toStdString(), "/MenuBar",
         "com.canonical.dbusmenu.GetLayout", "int32:0", "int32:-1", "array:string:"});
    std::vector<std::string> entries;
    std::istringstream lines(reply.out);
    std::string line, key;
    bool disabled = false;  // an item's properties come sorted: "enabled" before "label"
    while (std::getline(lines, line)) {
        const size_t quote = line.find('"');
        if (quote == std::string::npos) {
            if (key == "enabled") disabled = line.find("boolean false") != std::string::npos;
            key.clear();
            continue;
        }
        const std::string text = line.substr(quote + 1, line.rfind('"') - quote - 1);
        if (line.find("variant") == std::string::npos) {
            key = text;
            continue;
        }
        if (key == "label") entries.push_back(text + (disabled ? " (off)" : ""));
        if (key == "type" && text == "separator") entries.push_back("-");
        if (key == "label" || key == "type") disabled = false;
        key.clear();
    }
    return entries;
}

TEST(TrayItem, RegistersWithTheTrayHostAndExportsItsMenu) {
    if (!test::haveProgram("dbus-send")) GTEST_SKIP() << "dbus-send is not installed";
    FakeTrayHost host;
    ASSERT_TRUE(host.registered);
    const test::TestBundle bundle;
    const test::TempDir home;
    RunningProgram program(bundle, home);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !host.items().isEmpty(); }, 8000))
        << "the tray item never registered";
    const std::vector<std::string> menu = trayMenu(host.items().first());
    EXPECT_EQ(menu, (std::vector<std::string>{"Tavrino 9.8.7 (off)", "-", "사용법 안내…",
                                              "오픈소스 고지…", "-", "Tavrino 종료"}));
}

// KWin's Effects interface as a Plasma session offers it: the effects it can find, the ones
// loaded, and loading one. It answers from a thread of its own, since the calls under test
// block the main thread until the reply comes.
class FakeKwinEffects : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.kwin.Effects")
    Q_PROPERTY(QStringList listOfEffects READ listOfEffects)
  public:
    explicit FakeKwinEffects(QStringList known)
        : connection_(privateConnection("kwin")), known_(std::move(known)) {
        connection_.registerObject("/Effects", this, QDBusConnection::ExportAllContents);
        registered = connection_.registerService("org.kde.KWin");
        thread_.start();
        moveToThread(&thread_);
    }
    ~FakeKwinEffects() override {
        QThread* home = QThread::currentThread();
        QMetaObject::invokeMethod(
            this, [this, home] { moveToThread(home); }, Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
        connection_.unregisterObject("/Effects");
        connection_.unregisterService("org.kde.KWin");
        QDBusConnection::disconnectFromBus("kwin");
    }
    QStringList listOfEffects() const { return known_; }
    QStringList loaded() const {
        const std::lock_guard lock(mutex_);
        return loaded_;
    }
    void markLoaded(const QString& name) {
        const std::lock_guard lock(mutex_);
        loaded_.push_back(name);
    }

    bool registered = false;

  public Q_SLOTS:
    bool isEffectLoaded(const QString& name) { return loaded().contains(name); }
    bool loadEffect(const QString& name) {
        if (!known_.contains(name) || loaded().contains(name)) return false;
        markLoaded(name);
        return true;
    }

  private:
    QThread thread_;
    QDBusConnection connection_;
    const QStringList known_;
    mutable std::mutex mutex_;
    QStringList loaded_;
};

TEST(KwinCompanion, TellsMissingFromOffFromActive) {
    {
        FakeKwinEffects kwin({"blur", "zoom"});
        ASSERT_TRUE(kwin.registered);
        EXPECT_EQ(wheelSupport(true), WheelSupport::companionUnread);
        EXPECT_FALSE(enableCompanion());
        EXPECT_EQ(wheelSupport(false), WheelSupport::x11);
    }
    FakeKwinEffects kwin({"blur", kwinEffectId});
    ASSERT_TRUE(kwin.registered);
    EXPECT_EQ(wheelSupport(true), WheelSupport::companionOff);
    kwin.markLoaded(kwinEffectId);
    EXPECT_EQ(wheelSupport(true), WheelSupport::companionActive);
}

TEST(KwinCompanion, SwitchingOnLoadsTheEffectAndKeepsItOnInKwinsSettings) {
    const test::TempDir config;
    const test::ScopedEnv configHome("XDG_CONFIG_HOME", config.path().string());
    FakeKwinEffects kwin({kwinEffectId});
    ASSERT_TRUE(kwin.registered);
    EXPECT_TRUE(enableCompanion());
    EXPECT_EQ(kwin.loaded(), QStringList{kwinEffectId});
    EXPECT_EQ(wheelSupport(true), WheelSupport::companionActive);
    if (test::haveProgram("kwriteconfig5")) {
        const std::string text = test::readBytes(config.path() / "kwinrc");
        EXPECT_NE(text.find("[Plugins]\ntavrino_kwin_dragEnabled=true"), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace tavrino::app

#include "SessionTest.moc"
