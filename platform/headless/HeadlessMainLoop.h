#pragma once
// The main queue of a headless run: a FIFO of posted tasks plus a heap of
// timed ones, served by whichever thread calls run*. The loop's main thread is
// the thread that constructed it, and after that the one that last ran it.
//
// Timers follow the Clock the loop is given. With the system clock the loop
// sleeps until the next timer or post. With a ManualClock time is virtual: when
// nothing is ready, run* advances the clock straight to the next timer instead
// of sleeping, so seconds of fades and retries take no wall time. Virtual time
// only moves while the loop runs. When nothing is ready and no timer falls
// before the time-out, runUntil and runForever wait in real time for posts from
// other threads (runUntil for at most its time-out, counted in real time from
// its start; then the clock jumps to the time-out); runFor is a pure
// simulation and jumps at once, leaving later posts for the next run.
//
// runUntil's condition is checked after each task and, while the loop waits,
// every few milliseconds (a condition may be made true by another thread
// without a post).
//
// quit() makes the innermost running run* return; called while nothing runs,
// it makes the next run* return at once. Nested run* calls from inside a task
// are allowed (a task that waits for an answer keeps the queue turning).
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <queue>
#include <thread>
#include <unordered_set>
#include <vector>

#include "platform/Clock.h"
#include "platform/MainLoop.h"

namespace platform::headless {

class HeadlessMainLoop final : public MainLoop {
public:
    explicit HeadlessMainLoop(Clock& clock);
    ~HeadlessMainLoop() override;
    HeadlessMainLoop(const HeadlessMainLoop&) = delete;
    HeadlessMainLoop& operator=(const HeadlessMainLoop&) = delete;

    void post(Task task) override;
    TaskId postAfter(Millis delay, Task task) override;
    bool cancel(TaskId id) override;
    std::unique_ptr<RepeatingTimer> scheduleRepeating(Millis interval, Task tick) override;

    bool runUntil(const std::function<bool()>& done, Millis timeout) override;
    void runFor(Millis duration) override;
    void quit() override;
    void runForever() override;
    bool isMainThread() const override;

    // Tasks posted and timers pending (valid repeating timers included).
    std::size_t pendingCount() const;

private:
    struct Repeat;
    struct Timed {
        Millis due;
        std::uint64_t order;  // keeps equal deadlines first-in first-out
        TaskId id;            // 0 for repeating ticks
        Task task;
        std::shared_ptr<Repeat> repeat;
    };
    struct Later {
        bool operator()(const Timed& a, const Timed& b) const {
            return a.due != b.due ? a.due > b.due : a.order > b.order;
        }
    };
    class Handle;

    enum class Step { Ran, Polled, Deadline, Quit };
    struct Limits {
        Millis deadline;                                   // on the loop's clock
        std::chrono::steady_clock::time_point realDeadline;  // for idle waits in virtual time
        bool waitIdle;                                     // wait for other threads when idle
        bool poll;                                         // wake regularly to re-check a condition
    };
    bool run(const std::function<bool()>& done, Millis timeout, bool waitIdle);
    Step runOne(const Limits& limits);
    bool takeTimed(std::unique_lock<std::mutex>& lock, Millis now, Timed& out);
    void pushTimed(Timed timed);  // caller holds mutex_
    void rearm(Timed fired);
    void wake();                  // caller holds mutex_

    Clock& clock_;
    ManualClock* manual_;  // non-null when time is virtual
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::uint64_t generation_ = 0;  // bumped on every post, timer and quit
    std::deque<Task> ready_;
    std::priority_queue<Timed, std::vector<Timed>, Later> timed_;
    std::unordered_set<TaskId> pendingIds_;
    TaskId nextId_ = 1;
    std::uint64_t nextOrder_ = 0;
    bool quit_ = false;
    std::atomic<std::thread::id> mainThread_;
};

}  // namespace platform::headless
