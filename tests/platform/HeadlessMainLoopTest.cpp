#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/headless/HeadlessMainLoop.h"

using namespace std::chrono_literals;
using platform::ManualClock;
using platform::Millis;
using platform::SystemClock;
using platform::headless::HeadlessMainLoop;

// Virtual time: order and timing of timers are exact and take no wall time.
class VirtualLoop : public ::testing::Test {
protected:
    ManualClock clock{Millis(1000)};
    HeadlessMainLoop loop{clock};
    std::vector<std::string> trace;

    auto record(std::string what) {
        return [this, what] { trace.push_back(what + "@" + std::to_string(clock.now().count() - 1000)); };
    }
};

TEST_F(VirtualLoop, PostsRunFirstInFirstOutThenTimersByDeadline) {
    loop.postAfter(30ms, record("late"));
    loop.postAfter(10ms, record("early"));
    loop.postAfter(10ms, record("early2"));
    loop.post(record("a"));
    loop.post(record("b"));
    loop.runFor(100ms);
    EXPECT_EQ(trace, (std::vector<std::string>{"a@0", "b@0", "early@10", "early2@10", "late@30"}));
    EXPECT_EQ(clock.now(), Millis(1100));
}

TEST_F(VirtualLoop, CancelStopsOnlyPendingTasks) {
    const auto kept = loop.postAfter(5ms, record("kept"));
    const auto dropped = loop.postAfter(5ms, record("dropped"));
    EXPECT_NE(kept, dropped);
    EXPECT_TRUE(loop.cancel(dropped));
    EXPECT_FALSE(loop.cancel(dropped));
    EXPECT_FALSE(loop.cancel(0));
    loop.runFor(10ms);
    EXPECT_FALSE(loop.cancel(kept));  // already ran
    EXPECT_EQ(trace, std::vector<std::string>{"kept@5"});
    EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST_F(VirtualLoop, RunUntilStopsAtTheConditionOrTheTimeOut) {
    int ticks = 0;
    auto timer = loop.scheduleRepeating(16ms, [&] { ++ticks; });
    EXPECT_TRUE(loop.runUntil([&] { return ticks == 3; }, 1000ms));
    EXPECT_EQ(clock.now(), Millis(1048));
    EXPECT_FALSE(loop.runUntil([] { return false; }, 100ms));
    EXPECT_EQ(clock.now(), Millis(1148));
    EXPECT_EQ(ticks, 9);  // ticks at 64 .. 144
}

TEST_F(VirtualLoop, RepeatingTimerStopsWhenInvalidatedOrDestroyed) {
    int ticks = 0;
    std::unique_ptr<platform::RepeatingTimer> timer;
    timer = loop.scheduleRepeating(10ms, [&] {
        if (++ticks == 2) timer->invalidate();  // from inside its own tick
    });
    loop.runFor(100ms);
    EXPECT_EQ(ticks, 2);
    EXPECT_FALSE(timer->isValid());

    int other = 0;
    auto second = loop.scheduleRepeating(10ms, [&] { ++other; });
    EXPECT_TRUE(second->isValid());
    loop.runFor(25ms);
    second.reset();
    loop.runFor(100ms);
    EXPECT_EQ(other, 2);
    EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST_F(VirtualLoop, TicksMissedWhileTheLoopWasBusyAreSkippedNotBurst) {
    auto timer = loop.scheduleRepeating(10ms, record("tick"));
    loop.post([&] { clock.advance(35ms); });  // a task that blocks for 35 ms
    loop.runFor(20ms);
    loop.runFor(20ms);
    EXPECT_EQ(trace, (std::vector<std::string>{"tick@35", "tick@40", "tick@50"}));
}

TEST_F(VirtualLoop, NegativeDelaysAndZeroIntervalsDoNotStall) {
    loop.postAfter(Millis(-5), record("now"));
    int ticks = 0;
    auto timer = loop.scheduleRepeating(0ms, [&] { ++ticks; });
    loop.runFor(10ms);
    EXPECT_EQ(trace, std::vector<std::string>{"now@0"});
    EXPECT_EQ(ticks, 10);  // treated as a 1 ms interval
}

TEST_F(VirtualLoop, QuitEndsTheInnermostRunAndNestedRunsKeepTheQueueTurning) {
    bool innerDone = false;
    loop.post([&] {
        loop.postAfter(50ms, [&] { innerDone = true; });
        EXPECT_TRUE(loop.runUntil([&] { return innerDone; }, 1000ms));  // nested wait
        loop.postAfter(10ms, [&] { loop.quit(); });
    });
    loop.runForever();
    EXPECT_TRUE(innerDone);
    EXPECT_EQ(clock.now(), Millis(1060));
}

TEST_F(VirtualLoop, QuitBeforeRunMakesTheNextRunReturnAtOnce) {
    loop.quit();
    loop.post(record("left"));
    loop.runForever();
    EXPECT_TRUE(trace.empty());
    loop.runFor(0ms);
    EXPECT_EQ(trace, std::vector<std::string>{"left@0"});
}

TEST(HeadlessMainLoop, RealTimeTimersWaitForTheirDeadline) {
    SystemClock clock;
    HeadlessMainLoop loop(clock);
    const auto start = std::chrono::steady_clock::now();
    bool fired = false;
    loop.postAfter(40ms, [&] { fired = true; });
    EXPECT_TRUE(loop.runUntil([&] { return fired; }, 2000ms));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    // The clock counts whole milliseconds, so a deadline can land up to 1 ms
    // before the same instant measured with the finer steady clock.
    EXPECT_GE(elapsed, 39ms);
    EXPECT_LT(elapsed, 1500ms);
    EXPECT_FALSE(loop.runUntil([] { return false; }, 30ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 69ms);
}

TEST(HeadlessMainLoop, PostsFromOtherThreadsWakeTheLoopAndRunOnIt) {
    for (bool virtualTime : {false, true}) {
        SystemClock real;
        ManualClock manual;
        platform::Clock& clock = virtualTime ? static_cast<platform::Clock&>(manual) : real;
        HeadlessMainLoop loop(clock);
        constexpr int kThreads = 4, kPosts = 250;
        std::atomic<int> wrongThread{0};
        int received = 0;  // only touched on the loop's thread
        std::vector<std::thread> posters;
        for (int t = 0; t < kThreads; ++t) {
            posters.emplace_back([&] {
                EXPECT_FALSE(loop.isMainThread());
                for (int i = 0; i < kPosts; ++i) {
                    loop.post([&] {
                        if (!loop.isMainThread()) ++wrongThread;
                        ++received;
                    });
                    if (i % 50 == 0) loop.postAfter(1ms, [] {});
                }
            });
        }
        EXPECT_TRUE(loop.runUntil([&] { return received == kThreads * kPosts; }, 10000ms)) << virtualTime;
        for (auto& p : posters) p.join();
        EXPECT_EQ(wrongThread.load(), 0);
        EXPECT_TRUE(loop.isMainThread());
    }
}

TEST(HeadlessMainLoop, ConditionsSetByOtherThreadsWithoutAPostAreNoticedPromptly) {
    for (bool virtualTime : {false, true}) {
        SystemClock real;
        ManualClock manual;
        platform::Clock& clock = virtualTime ? static_cast<platform::Clock&>(manual) : real;
        HeadlessMainLoop loop(clock);
        std::atomic<bool> flag{false};
        std::thread setter([&] {
            std::this_thread::sleep_for(20ms);
            flag = true;
        });
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(loop.runUntil([&] { return flag.load(); }, 10000ms)) << virtualTime;
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2000ms) << virtualTime;
        setter.join();
    }
}
