#include "audio/SilentDevice.h"

#include <AL/alext.h>

#include <chrono>

namespace RK {
namespace {
constexpr int kRate = 44100;
constexpr int kChunkFrames = kRate / 100;  // 10 ms
}  // namespace

SilentDevice* SilentDevice::open() {
    auto openLoopback = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    auto render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (!openLoopback || !render) return nullptr;
    ALCdevice* device = openLoopback(nullptr);
    if (!device) return nullptr;
    return new SilentDevice(device, render);
}

SilentDevice::SilentDevice(ALCdevice* device, RenderProc render)
    : device_(device),
      render_(render),
      attributes_{ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT, ALC_FREQUENCY, kRate, 0} {}

SilentDevice::~SilentDevice() {
    stopRendering();
    alcCloseDevice(device_);
}

void SilentDevice::start() {
    if (running_.exchange(true)) return;
    thread_ = std::thread([this] { run(); });
}

void SilentDevice::stopRendering() {
    running_.store(false);
    if (thread_.joinable()) thread_.join();
}

void SilentDevice::run() {
    std::vector<short> scratch(kChunkFrames * 2);
    auto next = std::chrono::steady_clock::now();
    while (running_.load()) {
        render_(device_, scratch.data(), kChunkFrames);
        next += std::chrono::milliseconds(10);
        std::this_thread::sleep_until(next);
    }
}

}  // namespace RK
