#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Clock.h"

using namespace std::chrono_literals;
using platform::ManualClock;
using platform::Millis;

TEST(ManualClock, MovesOnlyForwardAndOnlyWhenTold) {
    ManualClock clock(Millis(500));
    EXPECT_EQ(clock.now(), Millis(500));
    clock.advance(Millis(-100));
    EXPECT_EQ(clock.now(), Millis(500));
    clock.sleepFor(20ms);
    EXPECT_EQ(clock.now(), Millis(520));
    EXPECT_EQ(clock.advanceTo(Millis(400)), Millis(520));
    EXPECT_EQ(clock.advanceTo(Millis(900)), Millis(900));
}

TEST(ManualClock, ConcurrentAdvancesAreNotLost) {
    ManualClock clock;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 1000; ++i) clock.advance(1ms);
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(clock.now(), Millis(4000));
}

TEST(SystemClock, IsMonotonicAndSleeps) {
    platform::SystemClock clock;
    const Millis a = clock.now();
    clock.sleepFor(15ms);
    const Millis b = clock.now();
    EXPECT_GE(b - a, 15ms);
    clock.sleepFor(Millis(-1));  // returns at once
    EXPECT_GE(clock.now(), b);
}
