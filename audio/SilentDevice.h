#pragma once
// A loopback device rendered into nothing at the pace of the clock: the
// last resort when no output device opens, so that streamed clips still end
// in real time.
#include <AL/alc.h>

#include <atomic>
#include <thread>
#include <vector>

namespace RK {

class SilentDevice {
public:
    static SilentDevice* open();  // null when the loopback extension is missing
    ~SilentDevice();
    SilentDevice(const SilentDevice&) = delete;
    SilentDevice& operator=(const SilentDevice&) = delete;

    ALCdevice* device() const { return device_; }
    const ALCint* contextAttributes() const { return attributes_.data(); }
    void start();          // once the context exists
    void stopRendering();  // before the context is destroyed

private:
    using RenderProc = void (*)(ALCdevice*, ALCvoid*, ALCsizei);
    SilentDevice(ALCdevice* device, RenderProc render);
    void run();

    ALCdevice* device_;
    RenderProc render_;
    std::vector<ALCint> attributes_;
    std::atomic<bool> running_{false};
    std::thread thread_;
};

}  // namespace RK
