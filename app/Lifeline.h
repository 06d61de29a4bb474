#pragma once
// A part's hold on its own lifetime for the tasks it posts to the main loop.
// A task wrapped by guard() runs only if the lifeline still exists when the
// task comes due: the parts post closures that capture `this`, and a part
// may be destroyed before the main loop runs them. All on the main thread:
// the wrapped task checks the token where it runs, so a part destroyed on
// the main thread never sees its task run afterwards.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

#include "app/Services.h"

namespace app {

class Lifeline {
public:
    Lifeline() = default;
    Lifeline(const Lifeline&) = delete;
    Lifeline& operator=(const Lifeline&) = delete;

    // The task, made to do nothing once this lifeline is gone or ended.
    // Args are the task's parameter types (none for a plain task).
    template <typename... Args, typename Task>
    std::function<void(Args...)> guard(Task task) const {
        return [alive = token(), task = std::move(task)](Args... args) {
            const std::shared_ptr<bool> held = alive.lock();
            if (held && *held) task(std::forward<Args>(args)...);
        };
    }

    // Runs the task on the main loop's next turn while the lifeline exists.
    void post(std::function<void()> task) const { services::mainLoop().post(guard(std::move(task))); }
    // Runs the task after the delay while the lifeline exists; the main
    // loop's id of the delayed call (for cancel).
    std::uint64_t after(int milliseconds, std::function<void()> task) const {
        return services::mainLoop().postAfter(std::chrono::milliseconds(milliseconds), guard(std::move(task)));
    }

    std::weak_ptr<bool> token() const { return alive_; }
    // Ends the lifeline before destruction (a destructor's first step, so
    // nothing it posts while tearing down runs).
    void end() { alive_.reset(); }

private:
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace app
