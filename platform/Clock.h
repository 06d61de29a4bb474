#pragma once
// Monotonic time for timers, fades and motion playback. The system clock reads
// the steady clock; the manual clock only moves when told to, so tests can
// step through time-driven behaviour without sleeping.
#include <atomic>
#include <chrono>
#include <cstdint>

namespace platform {

using Millis = std::chrono::milliseconds;

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary fixed origin; never decreases.
    virtual Millis now() const = 0;
    // Blocks the caller for the duration (the manual clock just advances).
    virtual void sleepFor(Millis duration) = 0;
};

class SystemClock final : public Clock {
public:
    Millis now() const override;
    void sleepFor(Millis duration) override;
};

// Virtual time: starts at the given value and moves only through advance(),
// advanceTo() and sleepFor(). Safe to read and advance from any thread.
class ManualClock final : public Clock {
public:
    explicit ManualClock(Millis start = Millis(0)) : now_(start.count()) {}
    Millis now() const override { return Millis(now_.load(std::memory_order_acquire)); }
    void sleepFor(Millis duration) override { advance(duration); }

    // Negative steps are ignored: time never runs backwards.
    void advance(Millis step);
    // Moves to the given time if it lies ahead; returns the resulting time.
    Millis advanceTo(Millis when);

private:
    std::atomic<std::int64_t> now_;
};

}  // namespace platform
