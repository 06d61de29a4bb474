#pragma once
// The main queue: everything that touches views or evaluates scripts runs here.
// post/postAfter/cancel are safe from any thread; run* only on the main thread.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

using Task = std::function<void()>;
using Millis = std::chrono::milliseconds;

// A repeating main-thread timer; destroying it (or invalidate) stops it.
class RepeatingTimer {
public:
    virtual ~RepeatingTimer() = default;
    virtual void invalidate() = 0;
    virtual bool isValid() const = 0;
};

class MainLoop {
public:
    using TaskId = std::uint64_t;  // 0 is never a valid id

    virtual ~MainLoop() = default;

    virtual void post(Task task) = 0;
    // dispatch_after on the main queue; the id lets the caller cancel it.
    virtual TaskId postAfter(Millis delay, Task task) = 0;
    // Returns false if the task had already run or was unknown.
    virtual bool cancel(TaskId id) = 0;

    virtual std::unique_ptr<RepeatingTimer> scheduleRepeating(Millis interval, Task tick) = 0;

    // Runs tasks until done() holds (checked after each task) or the time-out
    // passes; returns done().
    virtual bool runUntil(const std::function<bool()>& done, Millis timeout) = 0;
    virtual void runFor(Millis duration) = 0;
    virtual void quit() = 0;  // makes a running run*/runForever return
    virtual void runForever() = 0;

    virtual bool isMainThread() const = 0;
};

// Global background queues (dispatch_get_global_queue).
class Queues {
public:
    enum class Priority { High, Default, Low, Background };
    virtual ~Queues() = default;
    virtual void async(Priority priority, Task task) = 0;
    // Blocks until every task queued so far has finished (tests, shutdown).
    virtual void drain() = 0;
};

}  // namespace platform
