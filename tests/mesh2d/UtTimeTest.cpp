// The runtime clock: a user-set time while one is set, the system clock otherwise.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

#include "mesh2d/util/UtTime.h"

namespace mesh2d {
namespace {

int64_t systemNowMSec() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

TEST(UtTimeTest, UserTimeOverridesTheSystemClockUntilCleared) {
    UtTime::setUserTimeMSec(-5);
    EXPECT_TRUE(UtTime::hasUserTimeMSec());
    EXPECT_EQ(UtTime::getTimeMSec(), -5);
    UtTime::setUserTimeMSec(1'700'000'000'123);
    EXPECT_EQ(UtTime::getTimeMSec(), 1'700'000'000'123);

    UtTime::clearUserTimeMSec();
    EXPECT_FALSE(UtTime::hasUserTimeMSec());
    const int64_t before = systemNowMSec();
    const int64_t now = UtTime::getTimeMSec();
    const int64_t after = systemNowMSec();
    EXPECT_LE(before, now);
    EXPECT_LE(now, after);
}

}  // namespace
}  // namespace mesh2d
