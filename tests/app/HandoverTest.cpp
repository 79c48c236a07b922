// The launch sequence between copies, driven by a fake clock and an in-memory bus: answer and
// quit, the retry, the one-second deadline, late answers, and who answers at all.

#include <gtest/gtest.h>

#include "Fakes.h"
#include "app/Handover.h"

namespace tavrino::app {
namespace {

using test::FakeNetwork;
using test::FakeScheduler;
using test::LogCapture;

const std::string identity = "app.korvanta.tavrino";
const std::string show = identity + ".show-welcome";
const std::string ack = identity + ".welcome-ack";

// One copy of the program with everything it would do recorded.
struct Copy {
    Copy(FakeNetwork& network, FakeScheduler& clock, pid_t pid, std::optional<RunningCopy> older)
        : pid(pid) {
        HandoverHooks hooks;
        hooks.findOlder = [older] { return older; };
        hooks.started = [this] { return started; };
        hooks.startNormally = [this] { started = true; };
        hooks.showWelcome = [this] { ++welcomes; };
        hooks.quit = [this] { ++quits; };
        hooks.presentConflict = [this](const RunningCopy& copy, std::function<void()> next) {
            conflictWith = copy.pid;
            onContinue = std::move(next);
        };
        handover =
            std::make_unique<Handover>(network.endpoint(), clock, identity, pid, std::move(hooks));
    }
    pid_t pid;
    bool started = false;
    int welcomes = 0;
    int quits = 0;
    std::optional<pid_t> conflictWith;
    std::function<void()> onContinue;
    std::unique_ptr<Handover> handover;
};

int count(const FakeNetwork& network, const std::string& name) {
    return std::count_if(network.sent.begin(), network.sent.end(),
                         [&](const auto& m) { return m.name == name; });
}

TEST(Handover, WithoutOlderCopyStartsAtOnceAndSendsNothing) {
    FakeNetwork network;
    FakeScheduler clock;
    Copy only(network, clock, 100, std::nullopt);
    only.handover->launch();
    EXPECT_TRUE(only.started);
    EXPECT_TRUE(network.sent.empty());
    EXPECT_EQ(clock.pending(), 0u);
}

TEST(Handover, RunningCopyAnswersAndTheNewOneQuits) {
    const LogCapture log;
    FakeNetwork network;
    FakeScheduler clock;
    Copy first(network, clock, 100, std::nullopt);
    first.handover->launch();
    Copy second(network, clock, 200, RunningCopy{100, std::nullopt});
    second.handover->launch();
    EXPECT_FALSE(second.started);
    network.deliver();

    EXPECT_EQ(first.welcomes, 1);
    EXPECT_EQ(second.quits, 1);
    EXPECT_EQ(second.welcomes, 0);  // a copy ignores its own request
    ASSERT_EQ(count(network, ack), 1);
    EXPECT_EQ(network.sent.back().object, "200");
    EXPECT_TRUE(log.contains("이미 실행 중(pid 100) — 기존 인스턴스에 안내 창 요청"));
    EXPECT_TRUE(log.contains("안내 창 띄움(두 번째 인스턴스)"));
    EXPECT_TRUE(log.contains("기존 인스턴스 응답 — 종료"));

    // The deadline passes without a conflict window: the answer came first.
    clock.advance(2.0);
    EXPECT_FALSE(second.conflictWith);
    EXPECT_EQ(count(network, show), 1);
}

TEST(Handover, SilentCopyIsAskedTwiceThenTheConflictWindowOpensAtOneSecond) {
    const LogCapture log;
    FakeNetwork network;
    FakeScheduler clock;
    Copy newer(network, clock, 200, RunningCopy{100, std::nullopt});
    newer.handover->launch();
    network.lose();
    clock.advance(0.49);
    EXPECT_EQ(count(network, show), 1);
    clock.advance(0.02);
    EXPECT_EQ(count(network, show), 2);
    clock.advance(0.48);
    EXPECT_FALSE(newer.conflictWith);
    clock.advance(0.01);
    EXPECT_EQ(newer.conflictWith, 100);
    EXPECT_TRUE(log.contains("기존 인스턴스(pid 100) 응답 없음 — 충돌 창"));

    // An answer after the deadline changes nothing.
    network.endpoint().post(ack, "200");
    network.deliver();
    EXPECT_EQ(newer.quits, 0);

    // Once the older copy has ended the new one starts and shows the welcome window.
    newer.onContinue();
    EXPECT_TRUE(newer.started);
    EXPECT_EQ(newer.welcomes, 1);
    EXPECT_TRUE(log.contains("안내 창 띄움(이전 판 종료 후)"));
}

TEST(Handover, AnswerToTheRetryStillCounts) {
    FakeNetwork network;
    FakeScheduler clock;
    Copy first(network, clock, 100, std::nullopt);
    Copy second(network, clock, 200, RunningCopy{100, std::nullopt});
    second.handover->launch();
    network.lose();  // the first request is missed: the older copy was still starting
    first.handover->launch();
    clock.advance(0.5);
    network.deliver();
    EXPECT_EQ(second.quits, 1);
    clock.advance(1.0);
    EXPECT_FALSE(second.conflictWith);
}

TEST(Handover, AcknowledgementForAnotherCopyIsIgnored) {
    FakeNetwork network;
    FakeScheduler clock;
    Copy newer(network, clock, 200, RunningCopy{100, std::nullopt});
    newer.handover->launch();
    network.lose();
    network.endpoint().post(ack, "201");
    network.endpoint().post(ack, std::nullopt);
    network.deliver();
    EXPECT_EQ(newer.quits, 0);
}

TEST(Handover, ShowRequestsAreAnsweredOnlyWhenStartedAndWithAnObject) {
    const LogCapture log;
    FakeNetwork network;
    FakeScheduler clock;
    Copy running(network, clock, 100, std::nullopt);

    running.handover->showWelcomeFromOther("300");  // not started yet
    EXPECT_EQ(running.welcomes, 0);
    EXPECT_TRUE(network.sent.empty());

    running.handover->launch();
    running.handover->showWelcomeFromOther("100");  // its own request
    EXPECT_EQ(running.welcomes, 0);

    running.handover->showWelcomeFromOther(std::nullopt);  // no object: show, no answer
    EXPECT_EQ(running.welcomes, 1);
    EXPECT_TRUE(network.sent.empty());

    running.handover->showWelcomeFromOther("300");
    EXPECT_EQ(running.welcomes, 2);
    ASSERT_EQ(network.sent.size(), 1u);
    EXPECT_EQ(network.sent[0].name, ack);
    EXPECT_EQ(network.sent[0].object, "300");
}

TEST(Handover, ThirdCopyGetsItsOwnConflictWindowWhileTheSecondWaits) {
    FakeNetwork network;
    FakeScheduler clock;
    Copy second(network, clock, 200, RunningCopy{100, std::nullopt});
    second.handover->launch();
    clock.advance(1.0);
    network.deliver();
    ASSERT_EQ(second.conflictWith, 100);

    Copy third(network, clock, 300, RunningCopy{100, std::nullopt});
    third.handover->launch();
    network.deliver();
    clock.advance(1.0);
    network.deliver();
    EXPECT_EQ(second.welcomes, 0);
    EXPECT_EQ(third.quits, 0);
    EXPECT_EQ(third.conflictWith, 100);
}

TEST(Handover, DelayedStepsDoNothingOnceTheHandoverIsGone) {
    FakeNetwork network;
    FakeScheduler clock;
    auto newer = std::make_unique<Copy>(network, clock, 200, RunningCopy{100, std::nullopt});
    newer->handover->launch();
    newer->handover.reset();
    clock.advance(2.0);
    EXPECT_EQ(count(network, show), 1);
    EXPECT_FALSE(newer->conflictWith);
}

}  // namespace
}  // namespace tavrino::app
