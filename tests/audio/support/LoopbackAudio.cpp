#include "tests/audio/support/LoopbackAudio.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "audio/AudioDevice.h"
#include "audio/SoundCache.h"
#include "audio/StreamWorker.h"

namespace audiotest {
namespace {

ALCdevice* gDevice = nullptr;

LPALCRENDERSAMPLESSOFT renderProc() {
    static auto proc = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    return proc;
}

ALCdevice* openLoopback() {
    auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    gDevice = open ? open(nullptr) : nullptr;
    return gDevice;
}

}  // namespace

LoopbackAudio::LoopbackAudio(bool manualWorker) {
    RK::StreamWorker::shared().setManual(manualWorker);
    RK::AudioDeviceHooks hooks;
    hooks.openDevice = openLoopback;
    hooks.contextAttributes = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT,
                               ALC_FREQUENCY, kRate, 0};
    RK::setAudioDeviceHooks(hooks);
    RK::initAudioDevice();
    ok_ = gDevice != nullptr && renderProc() != nullptr && alcGetCurrentContext() != nullptr;
}

LoopbackAudio::~LoopbackAudio() {
    // The cache owns every player it made; its teardown stops the worker and
    // closes the device. Without a cache the device is closed directly.
    RK::SoundCache::destroyShared();
    RK::StreamWorker::shared().stop();
    RK::closeAudioDevice();
    RK::StreamWorker::shared().setManual(false);
    RK::setAudioDeviceHooks({});
    gDevice = nullptr;
}

std::vector<short> LoopbackAudio::render(int frames) {
    std::vector<short> out(static_cast<size_t>(frames) * 2);
    if (ok_ && frames > 0) renderProc()(gDevice, out.data(), frames);
    framesRendered_ += frames;
    return out;
}

std::vector<short> LoopbackAudio::run(double seconds, const std::function<void(double)>& afterPass) {
    std::vector<short> all;
    const long passes = std::lround(seconds * 1000.0 / 40.0);
    for (long i = 0; i < passes; ++i) {
        std::vector<short> chunk = render(kPassFrames);
        all.insert(all.end(), chunk.begin(), chunk.end());
        RK::StreamWorker::shared().runPass();
        if (afterPass) afterPass(now());
    }
    return all;
}

long longestQuietRun(const std::vector<short>& stereo, long fromFrame, long toFrame, int threshold) {
    long best = 0, current = 0;
    toFrame = std::min<long>(toFrame, static_cast<long>(stereo.size() / 2));
    for (long f = std::max(0L, fromFrame); f < toFrame; ++f) {
        const bool quiet = std::abs(stereo[2 * f]) < threshold && std::abs(stereo[2 * f + 1]) < threshold;
        current = quiet ? current + 1 : 0;
        best = std::max(best, current);
    }
    return best;
}

int peak(const std::vector<short>& stereo, long fromFrame, long toFrame) {
    int best = 0;
    toFrame = std::min<long>(toFrame, static_cast<long>(stereo.size() / 2));
    for (long f = std::max(0L, fromFrame); f < toFrame; ++f)
        best = std::max({best, std::abs(static_cast<int>(stereo[2 * f])), std::abs(static_cast<int>(stereo[2 * f + 1]))});
    return best;
}

}  // namespace audiotest
