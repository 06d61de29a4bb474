#include "audio/AudioDevice.h"

#include <mutex>

#include "audio/AudioBackendChoice.h"
#include "audio/SilentDevice.h"
#include "audio/SoundCache.h"
#include "platform/Log.h"

namespace RK {
namespace {

struct DeviceState {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    EffectSourcePool* pool = nullptr;
    SilentDevice* silent = nullptr;  // the last-resort real-time loopback
};

DeviceState& deviceState() {
    static DeviceState state;
    return state;
}

AudioDeviceHooks& deviceHooks() {
    static AudioDeviceHooks hooks;
    return hooks;
}

BufferDataStaticProc gBufferDataStatic = nullptr;
std::once_flag gStartupOnce;

}  // namespace

void audioStartup() {
    std::call_once(gStartupOnce, [] {
        chooseAudioBackend();
        gBufferDataStatic = reinterpret_cast<BufferDataStaticProc>(alcGetProcAddress(nullptr, "alBufferDataStatic"));
    });
}

BufferDataStaticProc bufferDataStatic() { return gBufferDataStatic; }

void uploadBuffer(ALuint buffer, ALenum format, const void* data, int size, int rate) {
    if (gBufferDataStatic) {
        gBufferDataStatic(buffer, format, data, size, rate);
    } else {
        alBufferData(buffer, format, data, size, rate);
    }
}

void setAudioDeviceHooks(AudioDeviceHooks hooks) { deviceHooks() = std::move(hooks); }

EffectSourcePool* effectSourcePool() { return deviceState().pool; }
ALCdevice* audioDevice() { return deviceState().device; }

void initAudioDevice() {
    audioStartup();
    DeviceState& state = deviceState();
    if (state.device) return;  // opened once per process until closed
    const AudioDeviceHooks& hooks = deviceHooks();
    const ALCint* attributes = hooks.contextAttributes.empty() ? nullptr : hooks.contextAttributes.data();
    state.device = hooks.openDevice ? hooks.openDevice() : alcOpenDevice(nullptr);
    if (!state.device && !hooks.openDevice) {
        // Clips must still play out in real time, or the start-up flow would
        // wait for voice ends that never come.
        platform::log("Audio: could not open the default device, mixing into silence");
        state.silent = SilentDevice::open();
        if (state.silent) {
            state.device = state.silent->device();
            attributes = state.silent->contextAttributes();
        }
    }
    if (state.device) {
        state.context = alcCreateContext(state.device, attributes);
        alcMakeContextCurrent(state.context);
    }
    if (!state.context) platform::log("Audio: no OpenAL context, sound is off");
    state.pool = new EffectSourcePool();
    alGenSources(EffectSourcePool::kSlots, state.pool->sources);
    if (state.silent) state.silent->start();
    // The cache's teardown is what closes the device at exit, so it must
    // exist (and be destroyed before this state) once a device is open.
    SoundCache::shared();
}

void closeAudioDevice() {
    DeviceState& state = deviceState();
    if (state.pool) {
        // Detach first: a buffer a source still holds cannot be deleted.
        for (ALuint source : state.pool->sources) {
            if (!source) continue;
            alSourceStop(source);
            alSourcei(source, AL_BUFFER, 0);
        }
        alDeleteSources(EffectSourcePool::kSlots, state.pool->sources);
        delete state.pool;
        state.pool = nullptr;
    }
    if (state.silent) state.silent->stopRendering();
    alcMakeContextCurrent(nullptr);
    if (state.context) alcDestroyContext(state.context);
    state.context = nullptr;
    if (state.silent) {
        delete state.silent;  // closes its device
    } else if (state.device) {
        alcCloseDevice(state.device);
    }
    state.silent = nullptr;
    state.device = nullptr;
}

}  // namespace RK
