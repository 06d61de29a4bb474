// BackgroundWork: after cancel() and join() no task body runs or is running,
// whatever state each task was in, and join() does not wait for its caller.
#include "app/BackgroundWork.h"

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <thread>

#include "platform/headless/ThreadPoolQueues.h"

namespace app {
namespace {

using namespace std::chrono_literals;
using Priority = platform::Queues::Priority;

// Keeps queued tasks until the test runs them, as a busy pool would.
class HeldQueues final : public platform::Queues {
public:
    void async(Priority, platform::Task task) override { held.push_back(std::move(task)); }
    void drain() override {
        while (!held.empty()) {
            auto task = std::move(held.front());
            held.pop_front();
            task();
        }
    }
    std::deque<platform::Task> held;
};

TEST(BackgroundWork, ATaskStillQueuedWhenCancelledNeverRuns) {
    HeldQueues queues;
    bool ran = false;
    {
        BackgroundWork work;
        ASSERT_TRUE(work.start(queues, Priority::Background, [&] { ran = true; }));
        work.cancel();
        work.join();  // returns at once: nothing runs yet
        EXPECT_FALSE(work.start(queues, Priority::Background, [&] { ran = true; }));
    }
    queues.drain();  // the pool gets to it after the owner is gone
    EXPECT_FALSE(ran);
    EXPECT_EQ(queues.held.size(), 0u);
}

TEST(BackgroundWork, JoinWaitsForRunningTasksThatWatchTheFlag) {
    platform::headless::ThreadPoolQueues queues;
    std::atomic<int> entered{0};
    std::atomic<int> finished{0};
    BackgroundWork work;
    const auto flag = work.cancelFlag();
    for (int i = 0; i < 3; ++i) {
        work.start(queues, Priority::Default, [&] {
            ++entered;
            while (!work.cancelled()) std::this_thread::sleep_for(1ms);
            std::this_thread::sleep_for(20ms);  // still busy after the flag turned
            ++finished;
        });
    }
    while (entered < 3) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(work.runningCount(), 3);
    work.cancel();
    EXPECT_TRUE(flag->load());
    work.join();
    EXPECT_EQ(finished, 3);
    EXPECT_EQ(work.runningCount(), 0);
}

TEST(BackgroundWork, JoinFromOneOfItsOwnTasksDoesNotWaitForItself) {
    platform::headless::ThreadPoolQueues queues;
    BackgroundWork work;
    std::atomic<bool> joined{false};
    work.start(queues, Priority::Default, [&] {
        work.join();
        joined = true;
    });
    queues.drain();
    EXPECT_TRUE(joined);
}

}  // namespace
}  // namespace app
