#pragma once
// The audio device of the tests: OpenAL Soft's loopback device, mixed by the
// test in virtual time (stereo 16-bit at 44 100 Hz), with the stream worker
// driven one pass per 40 ms of rendered audio.
#include <functional>
#include <vector>

namespace audiotest {

class LoopbackAudio {
public:
    static constexpr int kRate = 44100;
    static constexpr int kPassFrames = kRate * 40 / 1000;  // one worker period

    // manualWorker false leaves the real worker thread in charge.
    explicit LoopbackAudio(bool manualWorker = true);
    ~LoopbackAudio();
    LoopbackAudio(const LoopbackAudio&) = delete;
    LoopbackAudio& operator=(const LoopbackAudio&) = delete;

    bool ok() const { return ok_; }
    // Mixes frames of output (interleaved left, right) without a worker pass.
    std::vector<short> render(int frames);
    // Mixes seconds of output in worker periods, a pass after each; the
    // callback sees the virtual time after each pass.
    std::vector<short> run(double seconds, const std::function<void(double)>& afterPass = {});
    double now() const { return static_cast<double>(framesRendered_) / kRate; }

private:
    bool ok_ = false;
    long framesRendered_ = 0;
};

// Longest run of near-silent frames (both channels under the threshold)
// between two frame indices of an interleaved stereo render.
long longestQuietRun(const std::vector<short>& stereo, long fromFrame, long toFrame, int threshold = 200);
// Peak absolute sample of a frame range.
int peak(const std::vector<short>& stereo, long fromFrame, long toFrame);

}  // namespace audiotest
