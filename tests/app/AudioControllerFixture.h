#pragma once
// A controller whose sound goes through OpenAL Soft's loopback device: the
// test mixes the output in 10 ms steps, runs the stream worker every 40 ms of
// audio and the main loop (virtual time) for the same 10 ms, so clip ends,
// queue delays and fades all follow one clock. Clips are written into the
// app home's documents directory under names unique to the test.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/MyWebAppDelegate.h"
#include "app/MyWebViewController.h"
#include "platform/Log.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/HeadlessWebView.h"
#include "platform/headless/TemporaryHome.h"
#include "tests/audio/support/LoopbackAudio.h"
#include "tests/audio/support/TestClips.h"

namespace app::testing {

class AudioControllerFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a mono 22 050 Hz sine clip; returns its (unique) file name.
    std::string clip(const std::string& stem, double seconds, double frequency);
    // Mixes and runs seconds of time; observe runs after every step with the
    // time mixed so far.
    void step(double seconds, const std::function<void(double)>& observe = {});
    // Steps until done() holds or the time passes; returns done().
    bool stepUntil(const std::function<bool()>& done, double seconds);

    platform::headless::HeadlessWebView* web();
    int scriptCount(const std::string& script);
    // The current gain of a streamed player's source; -1 for none.
    static float gainOf(RK::BGMusic* music);
    // Amplitude of one frequency in the left channel of the mix so far,
    // between two times.
    double toneAmplitude(double frequency, double from, double to) const;

    audiotest::ScopedDir bundle{"audiocmd-bundle"};
    platform::headless::TemporaryHome home;
    std::unique_ptr<platform::headless::HeadlessBackend> backend;
    std::unique_ptr<audiotest::LoopbackAudio> audio;
    std::unique_ptr<MyWebAppDelegate> delegate;
    MyWebViewController* c = nullptr;
    std::vector<short> mix;  // interleaved stereo, everything mixed so far
    platform::LogCapture logs;

private:
    int steps_ = 0;
};

}  // namespace app::testing
