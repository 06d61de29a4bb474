#include "platform/headless/HeadlessMainLoop.h"

#include <algorithm>

namespace platform::headless {
namespace {

// Far enough to mean "never" and still safe to add small amounts to.
constexpr Millis kForever = Millis(INT64_MAX / 4);
constexpr Millis kMaxWait = Millis(3600 * 1000);
// A year: the real-time bound of idle waits in virtual time, safe to add to now().
constexpr Millis kLongestRealWait = Millis(365LL * 24 * 3600 * 1000);
// How often a waiting runUntil looks at its condition again, for conditions
// that other threads make true without posting anything.
constexpr Millis kPollInterval = Millis(5);

Millis later(Millis base, Millis delay) {
    if (delay.count() < 0) delay = Millis(0);
    return delay >= kForever - base ? kForever : base + delay;
}

}  // namespace

struct HeadlessMainLoop::Repeat {
    Millis interval;
    Task tick;
    std::atomic<bool> valid{true};
};

class HeadlessMainLoop::Handle final : public RepeatingTimer {
public:
    explicit Handle(std::shared_ptr<Repeat> repeat) : repeat_(std::move(repeat)) {}
    ~Handle() override { invalidate(); }
    void invalidate() override { repeat_->valid.store(false, std::memory_order_release); }
    bool isValid() const override { return repeat_->valid.load(std::memory_order_acquire); }

private:
    std::shared_ptr<Repeat> repeat_;
};

HeadlessMainLoop::HeadlessMainLoop(Clock& clock)
    : clock_(clock), manual_(dynamic_cast<ManualClock*>(&clock)), mainThread_(std::this_thread::get_id()) {}

HeadlessMainLoop::~HeadlessMainLoop() {
    // Task destructors may post; let them do so after the lock is released.
    std::deque<Task> ready;
    std::priority_queue<Timed, std::vector<Timed>, Later> timed;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ready.swap(ready_);
        timed.swap(timed_);
    }
}

void HeadlessMainLoop::wake() {
    ++generation_;
    changed_.notify_all();
}

void HeadlessMainLoop::pushTimed(Timed timed) {
    timed.order = nextOrder_++;
    timed_.push(std::move(timed));
    wake();
}

void HeadlessMainLoop::post(Task task) {
    if (!task) return;
    std::lock_guard<std::mutex> lock(mutex_);
    ready_.push_back(std::move(task));
    wake();
}

MainLoop::TaskId HeadlessMainLoop::postAfter(Millis delay, Task task) {
    if (!task) return 0;
    const Millis due = later(clock_.now(), delay);
    std::lock_guard<std::mutex> lock(mutex_);
    const TaskId id = nextId_++;
    pendingIds_.insert(id);
    pushTimed(Timed{due, 0, id, std::move(task), nullptr});
    return id;
}

bool HeadlessMainLoop::cancel(TaskId id) {
    std::lock_guard<std::mutex> lock(mutex_);
    return pendingIds_.erase(id) > 0;
}

std::unique_ptr<RepeatingTimer> HeadlessMainLoop::scheduleRepeating(Millis interval, Task tick) {
    auto repeat = std::make_shared<Repeat>();
    // A zero interval would starve everything else on the queue.
    repeat->interval = std::max(interval, Millis(1));
    repeat->tick = std::move(tick);
    if (!repeat->tick) repeat->valid = false;
    auto handle = std::make_unique<Handle>(repeat);
    if (repeat->valid) {
        const Millis due = later(clock_.now(), repeat->interval);
        std::lock_guard<std::mutex> lock(mutex_);
        pushTimed(Timed{due, 0, 0, nullptr, std::move(repeat)});
    }
    return handle;
}

void HeadlessMainLoop::rearm(Timed fired) {
    Repeat& repeat = *fired.repeat;
    if (!repeat.valid.load(std::memory_order_acquire)) return;
    // Like the phone's timers, ticks missed while the loop was busy are
    // skipped rather than delivered in a burst.
    const Millis now = clock_.now();
    Millis next = later(fired.due, repeat.interval);
    if (next <= now && next < kForever) {
        const auto missed = (now - fired.due) / repeat.interval;
        next = later(fired.due, repeat.interval * (missed + 1));
    }
    fired.due = next;
    std::lock_guard<std::mutex> lock(mutex_);
    pushTimed(std::move(fired));
}

// Pops the earliest due timer if it is live; dropped ones (cancelled,
// invalidated) are discarded on the way.
bool HeadlessMainLoop::takeTimed(std::unique_lock<std::mutex>&, Millis now, Timed& out) {
    while (!timed_.empty() && timed_.top().due <= now) {
        Timed top = std::move(const_cast<Timed&>(timed_.top()));
        timed_.pop();
        if (top.repeat) {
            if (!top.repeat->valid.load(std::memory_order_acquire)) continue;
        } else if (pendingIds_.erase(top.id) == 0) {
            continue;
        }
        out = std::move(top);
        return true;
    }
    return false;
}

HeadlessMainLoop::Step HeadlessMainLoop::runOne(const Limits& limits) {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        if (quit_) {
            quit_ = false;
            return Step::Quit;
        }
        if (!ready_.empty()) {
            Task task = std::move(ready_.front());
            ready_.pop_front();
            lock.unlock();
            task();
            return Step::Ran;
        }
        const Millis now = clock_.now();
        Timed timed;
        if (takeTimed(lock, now, timed)) {
            lock.unlock();
            if (timed.repeat) {
                timed.repeat->tick();
                rearm(std::move(timed));
            } else {
                timed.task();
            }
            return Step::Ran;
        }
        // Drop dead entries at the top so they do not hold back virtual time.
        while (!timed_.empty() && ((timed_.top().repeat && !timed_.top().repeat->valid) ||
                                   (!timed_.top().repeat && !pendingIds_.count(timed_.top().id)))) {
            timed_.pop();
        }
        const Millis next = timed_.empty() ? kForever : timed_.top().due;
        if (manual_ && next <= limits.deadline) {
            manual_->advanceTo(next);
            continue;
        }
        if (now >= limits.deadline) return Step::Deadline;

        // Nothing to do before the deadline: wait for a post from another thread.
        Millis slice;
        if (manual_) {
            const auto realNow = std::chrono::steady_clock::now();
            if (!limits.waitIdle || realNow >= limits.realDeadline) {
                manual_->advanceTo(limits.deadline);
                return Step::Deadline;
            }
            slice = std::chrono::ceil<Millis>(limits.realDeadline - realNow);
        } else {
            slice = std::min(next, limits.deadline) - now;
        }
        // Bounded so the wait's own arithmetic cannot overflow on "forever",
        // and short when a condition must be looked at again.
        slice = std::min(slice, limits.poll ? kPollInterval : kMaxWait);
        const std::uint64_t seen = generation_;
        const bool woken = changed_.wait_for(lock, slice, [&] { return generation_ != seen; });
        if (!woken && limits.poll) return Step::Polled;
    }
}

bool HeadlessMainLoop::run(const std::function<bool()>& done, Millis timeout, bool waitIdle) {
    mainThread_.store(std::this_thread::get_id(), std::memory_order_release);
    if (done && done()) return true;
    Limits limits;
    limits.deadline = later(clock_.now(), timeout);
    limits.realDeadline = std::chrono::steady_clock::now() + std::clamp(timeout, Millis(0), kLongestRealWait);
    limits.waitIdle = waitIdle;
    limits.poll = static_cast<bool>(done);
    for (;;) {
        const Step step = runOne(limits);
        if (step != Step::Ran && step != Step::Polled) break;
        if (done && done()) return true;
    }
    return done && done();
}

bool HeadlessMainLoop::runUntil(const std::function<bool()>& done, Millis timeout) {
    return run(done, timeout, true);
}

void HeadlessMainLoop::runFor(Millis duration) { run(nullptr, duration, false); }

void HeadlessMainLoop::runForever() { run(nullptr, kForever, true); }

void HeadlessMainLoop::quit() {
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
    wake();
}

bool HeadlessMainLoop::isMainThread() const {
    return std::this_thread::get_id() == mainThread_.load(std::memory_order_acquire);
}

std::size_t HeadlessMainLoop::pendingCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::size_t live = ready_.size() + pendingIds_.size();
    // Repeating ticks are not in pendingIds_; count the valid ones in the heap.
    auto copy = timed_;
    while (!copy.empty()) {
        if (copy.top().repeat && copy.top().repeat->valid) ++live;
        copy.pop();
    }
    return live;
}

}  // namespace platform::headless
