#include "mesh2d/util/UtTime.h"

#include <atomic>
#include <chrono>

namespace mesh2d {

namespace {

// A tool may set the time from another thread than the one that draws, so
// both words are atomic; the time is written before the flag that publishes it.
std::atomic<int64_t> gUserTime{0};
std::atomic<bool> gUserTimeSet{false};

}  // namespace

int64_t UtTime::getTimeMSec() {
    if (gUserTimeSet.load(std::memory_order_acquire)) return gUserTime.load(std::memory_order_relaxed);
    return getSystemTimeMSec();
}

int64_t UtTime::getSystemTimeMSec() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

void UtTime::setUserTimeMSec(int64_t timeMSec) {
    gUserTime.store(timeMSec, std::memory_order_relaxed);
    gUserTimeSet.store(true, std::memory_order_release);
}

void UtTime::clearUserTimeMSec() { gUserTimeSet.store(false, std::memory_order_release); }

bool UtTime::hasUserTimeMSec() { return gUserTimeSet.load(std::memory_order_acquire); }

}  // namespace mesh2d
