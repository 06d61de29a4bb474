#pragma once
// Background tasks whose lifetime their owner controls.
//
// start() queues a task on a global queue. cancel() tells every task to stop:
// tasks look at cancelled() at their waiting points, and the HTTP requests
// they make carry cancelFlag(), which aborts a transfer in flight. join()
// waits until no task is running. A task still queued when the work is
// cancelled never runs, so once cancel() and join() have returned no task
// touches the owner again; the owner calls both before its members go.
//
// Tasks must not wait for the thread that joins (the main thread) unless a
// cancellation wakes them: join() on the main thread would wait for them
// while they wait for it. join() from one of the work's own tasks does not
// wait for that task itself.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/MainLoop.h"

namespace app {

class BackgroundWork {
public:
    BackgroundWork();
    ~BackgroundWork();  // cancel() and join()
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;

    // Queues task; false (and the task dropped) once cancelled.
    bool start(platform::Queues& queues, platform::Queues::Priority priority, std::function<void()> task);
    // Safe from any thread; stays cancelled.
    void cancel();
    bool cancelled() const;
    // Turns true with cancel(); for the tasks' HTTP requests.
    std::shared_ptr<const std::atomic<bool>> cancelFlag() const;
    // Returns once no task runs (other than the caller's own).
    void join();
    // Tasks running now (tests, logs).
    int runningCount() const;

private:
    struct State {
        mutable std::mutex mutex;
        std::condition_variable idle;
        std::vector<std::thread::id> running;
        std::shared_ptr<std::atomic<bool>> cancelled = std::make_shared<std::atomic<bool>>(false);

        bool enter();
        void leave();
    };
    std::shared_ptr<State> state_;
};

}  // namespace app
