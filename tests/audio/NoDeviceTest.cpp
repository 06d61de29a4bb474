// When no output device opens at all, the program still mixes in real time
// (into nothing), so the start-up flow that waits for voice ends never hangs.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Log.h"
#include "tests/audio/support/RealTimeClip.h"

namespace {

TEST(NoDevice, FallsBackToRealTimeSilence) {
    setenv("ALSOFT_DRIVERS", "no-such-backend", 1);  // nothing can open
    platform::LogCapture log;
    audiotest::expectClipEndsInRealTime();
    EXPECT_TRUE(log.contains("could not open the default device")) << log.text();
}

}  // namespace
