// The product's own device path (no test hooks) on a machine without a
// sound server: the silent null backend plays in real time, so the real
// stream worker still delivers a clip's end on schedule.
#include <gtest/gtest.h>

#include <cstdlib>

#include "audio/AudioBackendChoice.h"
#include "tests/audio/support/RealTimeClip.h"

namespace {

TEST(AudioBackendChoice, SilentBackendOnlyWithoutAnyOutputOrUserChoice) {
    struct Case {
        RK::SoundOutputProbe probe;
        bool silent;
    } cases[] = {
        {{false, false, false, false}, true},
        {{true, false, false, false}, false},  // the user chose drivers
        {{false, true, false, false}, false},
        {{false, false, true, false}, false},
        {{false, false, false, true}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(RK::shouldUseSilentBackend(c.probe), c.silent);
}

TEST(NullDevice, ClipEndsArriveInRealTime) {
    // Chosen before the first ALC call of this process, as the program does.
    setenv("ALSOFT_DRIVERS", "null", 1);
    audiotest::expectClipEndsInRealTime();
}

}  // namespace
