#pragma once
// The process's OpenAL device and context, and the five sources every sound
// effect shares. Main thread only.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <AL/al.h>
#include <AL/alc.h>

#include <functional>
#include <vector>

namespace RK {

struct EffectSourcePool {
    static constexpr int kSlots = 5;
    int nextSlot = 0;
    int nextHandle = 0;
    ALuint sources[kSlots] = {};
    int handles[kSlots] = {};
};

// Opens the default device (a silent one when the machine has no sound
// output), creates and makes current a context, and the effect source pool.
void initAudioDevice();
// Detaches and deletes the pool's sources, then closes context and device.
// Every player and effect must be gone before.
void closeAudioDevice();
// Null before initAudioDevice.
EffectSourcePool* effectSourcePool();
ALCdevice* audioDevice();

// How the device is opened. The product opens the default device; a test
// opens OpenAL Soft's loopback device and renders the mix itself.
struct AudioDeviceHooks {
    std::function<ALCdevice*()> openDevice;  // empty: the default device
    std::vector<ALCint> contextAttributes;   // empty: none; else 0-terminated
};
void setAudioDeviceHooks(AudioDeviceHooks hooks);

// The copy-free upload entry point, fetched once at start; null where the
// OpenAL build lacks it (the copying alBufferData serves then).
using BufferDataStaticProc = void (*)(ALuint buffer, ALenum format, const ALvoid* data, ALsizei size, ALsizei rate);
BufferDataStaticProc bufferDataStatic();

// Process start-up of the audio layer, before any other ALC call: chooses the
// silent backend when no sound output exists, then fetches the extension
// entry point. Runs once; initAudioDevice calls it too.
void audioStartup();

// Uploads one streaming block: in place when the extension exists, else copied.
void uploadBuffer(ALuint buffer, ALenum format, const void* data, int size, int rate);

}  // namespace RK
