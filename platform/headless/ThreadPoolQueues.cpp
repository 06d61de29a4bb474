#include "platform/headless/ThreadPoolQueues.h"

#include <algorithm>

namespace platform::headless {

ThreadPoolQueues::ThreadPoolQueues(std::size_t maxThreads) : maxThreads_(std::max<std::size_t>(1, maxThreads)) {}

ThreadPoolQueues::~ThreadPoolQueues() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    available_.notify_all();
    // Workers only leave once the queues are empty, so every task runs.
    for (std::thread& worker : workers_) worker.join();
}

bool ThreadPoolQueues::hasQueued() const {
    return std::any_of(queues_.begin(), queues_.end(), [](const auto& q) { return !q.empty(); });
}

std::size_t ThreadPoolQueues::queuedCount() const {
    std::size_t n = 0;
    for (const auto& q : queues_) n += q.size();
    return n;
}

void ThreadPoolQueues::async(Priority priority, Task task) {
    if (!task) return;
    const auto level = static_cast<std::size_t>(priority);
    std::lock_guard<std::mutex> lock(mutex_);
    queues_[level < queues_.size() ? level : queues_.size() - 1].push_back(std::move(task));
    // Spawn when the idle workers cannot cover what is queued; a woken worker
    // takes one task, so "queued > waiting" means someone would be left over.
    // While stopping, the worker list is being joined and must not change; the
    // workers still running (one of them runs this very task) take it.
    if (!stopping_ && queuedCount() > waiting_ && workers_.size() < maxThreads_) {
        workers_.emplace_back([this] { work(); });
    } else {
        available_.notify_one();
    }
}

void ThreadPoolQueues::work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        ++waiting_;
        available_.wait(lock, [&] { return stopping_ || hasQueued(); });
        --waiting_;
        if (!hasQueued()) return;  // stopping, and nothing left to run
        auto& queue = *std::find_if(queues_.begin(), queues_.end(), [](const auto& q) { return !q.empty(); });
        Task task = std::move(queue.front());
        queue.pop_front();
        ++running_;
        lock.unlock();
        task();
        task = nullptr;  // captured state dies outside the lock, before we count the task done
        lock.lock();
        --running_;
        if (running_ == 0 && !hasQueued()) idle_.notify_all();
    }
}

void ThreadPoolQueues::drain() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [&] { return running_ == 0 && !hasQueued(); });
}

std::size_t ThreadPoolQueues::threadCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return workers_.size();
}

}  // namespace platform::headless
