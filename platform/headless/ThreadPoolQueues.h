#pragma once
// The global background queues: one pool of worker threads serving four
// priority levels, higher levels first, first-in first-out within a level.
//
// Like the phone's global queues the pool grows when every worker is busy
// (up to maxThreads), so a task that blocks waiting for a later task (the
// download worker and its waiting partner) does not starve it. Destruction
// finishes every queued task, then joins the workers.
#include <array>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/MainLoop.h"

namespace platform::headless {

class ThreadPoolQueues final : public Queues {
public:
    explicit ThreadPoolQueues(std::size_t maxThreads = 16);
    ~ThreadPoolQueues() override;
    ThreadPoolQueues(const ThreadPoolQueues&) = delete;
    ThreadPoolQueues& operator=(const ThreadPoolQueues&) = delete;

    void async(Priority priority, Task task) override;
    // Must not be called from a task of this pool (it would wait for itself).
    void drain() override;

    std::size_t threadCount() const;

private:
    void work();
    bool hasQueued() const;  // caller holds mutex_
    std::size_t queuedCount() const;

    const std::size_t maxThreads_;
    mutable std::mutex mutex_;
    std::condition_variable available_;
    std::condition_variable idle_;
    std::array<std::deque<Task>, 4> queues_;
    std::size_t waiting_ = 0;  // workers blocked on available_
    std::size_t running_ = 0;  // tasks being executed
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace platform::headless
