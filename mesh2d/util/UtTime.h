#pragma once
// The runtime's one clock, in milliseconds as a signed 64-bit count. Motions
// and the eye blinker read it; tests and tools set a user time so that every
// frame they step is exact and instant, and clear it to get the system clock
// back.
#include <cstdint>

namespace mesh2d {

class UtTime {
public:
    // The user-set time when one has been set, else the system clock.
    static int64_t getTimeMSec();
    // Absolute time of the system clock (milliseconds since the epoch, truncated).
    static int64_t getSystemTimeMSec();

    static void setUserTimeMSec(int64_t timeMSec);
    static void clearUserTimeMSec();
    static bool hasUserTimeMSec();
};

}  // namespace mesh2d
