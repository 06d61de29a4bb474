#include "platform/Clock.h"

#include <thread>

namespace platform {

Millis SystemClock::now() const {
    return std::chrono::duration_cast<Millis>(std::chrono::steady_clock::now().time_since_epoch());
}

void SystemClock::sleepFor(Millis duration) {
    if (duration.count() > 0) std::this_thread::sleep_for(duration);
}

void ManualClock::advance(Millis step) {
    if (step.count() > 0) now_.fetch_add(step.count(), std::memory_order_acq_rel);
}

Millis ManualClock::advanceTo(Millis when) {
    std::int64_t current = now_.load(std::memory_order_acquire);
    while (current < when.count() &&
           !now_.compare_exchange_weak(current, when.count(), std::memory_order_acq_rel)) {
    }
    return now();
}

}  // namespace platform
