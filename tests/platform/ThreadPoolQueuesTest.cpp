#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/headless/ThreadPoolQueues.h"

using Priority = platform::Queues::Priority;
using platform::headless::ThreadPoolQueues;

namespace {

// A latch the test opens by hand, to hold workers busy.
class Gate {
public:
    void open() {
        std::lock_guard<std::mutex> lock(m_);
        open_ = true;
        cv_.notify_all();
    }
    void wait() {
        std::unique_lock<std::mutex> lock(m_);
        cv_.wait(lock, [&] { return open_; });
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    bool open_ = false;
};

}  // namespace

TEST(ThreadPoolQueues, DrainWaitsForEveryTaskIncludingOnesQueuedByTasks) {
    ThreadPoolQueues queues(4);
    std::atomic<int> done{0};
    for (int i = 0; i < 200; ++i) {
        queues.async(static_cast<Priority>(i % 4), [&] {
            ++done;
            queues.async(Priority::Low, [&] { ++done; });
        });
    }
    queues.drain();
    EXPECT_EQ(done.load(), 400);
    EXPECT_LE(queues.threadCount(), 4u);
}

TEST(ThreadPoolQueues, HigherPrioritiesRunFirstAndEachLevelInOrder) {
    ThreadPoolQueues queues(1);  // one worker makes the order observable
    Gate gate;
    std::mutex m;
    std::vector<std::string> order;
    queues.async(Priority::Default, [&] { gate.wait(); });
    auto note = [&](std::string what) {
        return [&, what] {
            std::lock_guard<std::mutex> lock(m);
            order.push_back(what);
        };
    };
    queues.async(Priority::Background, note("bg1"));
    queues.async(Priority::Low, note("low"));
    queues.async(Priority::Background, note("bg2"));
    queues.async(Priority::High, note("high1"));
    queues.async(Priority::Default, note("default"));
    queues.async(Priority::High, note("high2"));
    gate.open();
    queues.drain();
    EXPECT_EQ(order, (std::vector<std::string>{"high1", "high2", "default", "low", "bg1", "bg2"}));
}

TEST(ThreadPoolQueues, ATaskWaitingForALaterTaskDoesNotDeadlock) {
    ThreadPoolQueues queues(8);
    Gate released;
    std::atomic<bool> waiterDone{false};
    // The waiter occupies a worker until the signaller, queued after it, runs.
    queues.async(Priority::Background, [&] {
        released.wait();
        waiterDone = true;
    });
    queues.async(Priority::Background, [&] { released.open(); });
    queues.drain();
    EXPECT_TRUE(waiterDone);
    EXPECT_GE(queues.threadCount(), 2u);
}

TEST(ThreadPoolQueues, DestructionRunsWhatIsStillQueued) {
    std::atomic<int> done{0};
    {
        ThreadPoolQueues queues(2);
        for (int i = 0; i < 50; ++i) queues.async(Priority::Low, [&] { ++done; });
        queues.async(Priority::Low, nullptr);  // ignored
    }
    EXPECT_EQ(done.load(), 50);
}

TEST(ThreadPoolQueues, TasksQueuedWhileThePoolShutsDownStillRun) {
    std::atomic<int> done{0};
    {
        ThreadPoolQueues queues(64);  // room to grow, so a late task could try to add a worker
        for (int i = 0; i < 8; ++i) {
            queues.async(Priority::Default, [&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                // Queues a follow-up while the destructor is already joining.
                queues.async(Priority::Low, [&] { ++done; });
            });
        }
    }
    EXPECT_EQ(done.load(), 8);
}
