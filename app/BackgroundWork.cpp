#include "app/BackgroundWork.h"

#include <algorithm>

namespace app {

// The check and the count change together under the lock, so a task either
// runs to its end before join() returns or does not run at all.
bool BackgroundWork::State::enter() {
    std::lock_guard<std::mutex> lock(mutex);
    if (cancelled->load()) return false;
    running.push_back(std::this_thread::get_id());
    return true;
}

void BackgroundWork::State::leave() {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = std::find(running.begin(), running.end(), std::this_thread::get_id());
    if (it != running.end()) running.erase(it);
    idle.notify_all();
}

BackgroundWork::BackgroundWork() : state_(std::make_shared<State>()) {}

BackgroundWork::~BackgroundWork() {
    cancel();
    join();
}

bool BackgroundWork::start(platform::Queues& queues, platform::Queues::Priority priority,
                           std::function<void()> task) {
    if (!task || cancelled()) return false;
    // The queue may run the wrapper after this object is gone: it holds the
    // state, never the object.
    queues.async(priority, [state = state_, task = std::move(task)]() mutable {
        if (!state->enter()) return;
        struct Leave {
            State& state;
            std::function<void()>& task;
            ~Leave() {
                task = nullptr;  // what the task captured dies before it counts as done
                state.leave();
            }
        } leave{*state, task};
        task();
    });
    return true;
}

void BackgroundWork::cancel() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->cancelled->store(true);
}

bool BackgroundWork::cancelled() const { return state_->cancelled->load(); }

std::shared_ptr<const std::atomic<bool>> BackgroundWork::cancelFlag() const { return state_->cancelled; }

void BackgroundWork::join() {
    const std::thread::id self = std::this_thread::get_id();
    std::unique_lock<std::mutex> lock(state_->mutex);
    state_->idle.wait(lock, [&] {
        return std::all_of(state_->running.begin(), state_->running.end(),
                           [&](std::thread::id id) { return id == self; });
    });
}

int BackgroundWork::runningCount() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return static_cast<int>(state_->running.size());
}

}  // namespace app
