#pragma once
// A counting semaphore for the download worker and the main thread
// (dispatch_semaphore): signal wakes one waiter, wait may time out.
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace app {

class DispatchSemaphore {
public:
    explicit DispatchSemaphore(long value = 0) : value_(value) {}

    void signal() {
        std::lock_guard<std::mutex> lock(mutex_);
        ++value_;
        cv_.notify_one();
    }
    // False when the time ran out first.
    bool wait(std::chrono::milliseconds timeout) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!cv_.wait_for(lock, timeout, [&] { return value_ > 0; })) return false;
        --value_;
        return true;
    }
    void wait() {
        std::unique_lock<std::mutex> lock(mutex_);
        cv_.wait(lock, [&] { return value_ > 0; });
        --value_;
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    long value_;
};

}  // namespace app
