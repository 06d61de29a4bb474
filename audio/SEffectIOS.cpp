#include "audio/SEffectIOS.h"

#include <cstdlib>

#include "audio/AudioFileDecoder.h"
#include "audio/AudioFormat.h"
#include "audio/OggDecoder.h"
#include "audio/SoundCache.h"
#include "foundation/Strings.h"
#include "platform/Log.h"

namespace RK {

SEffectIOS::~SEffectIOS() {
    if (!buffer_) return;
    // A buffer a source still holds cannot be deleted: let go of it first.
    if (pool_) {
        for (ALuint source : pool_->sources) {
            ALint current = 0;
            alGetSourcei(source, AL_BUFFER, &current);
            if (source && static_cast<ALuint>(current) == buffer_) {
                alSourceStop(source);
                alSourcei(source, AL_BUFFER, 0);
            }
        }
    }
    alDeleteBuffers(1, &buffer_);
}

bool SEffectIOS::load(const char* path) {
    if (isNullOrEmpty(path) || buffer_) return false;
    int size = 0;
    int rate = 0;
    ALenum format = 0;
    char* block = endsWith(path, ".ogg", 1) ? decodeOggFile(path, &size, &format, &rate)
                                            : decodeAudioFile(path, &size, &format, &rate);
    if (!block) return false;
    alGetError();
    alGenBuffers(1, &buffer_);
    if (alGetError() != AL_NO_ERROR) {
        platform::log("SEffectIOS: %s: no OpenAL buffer available", path);
        buffer_ = 0;
        std::free(block);
        return false;
    }
    alBufferData(buffer_, format, block, size, rate);
    std::free(block);
    return true;
}

int SEffectIOS::play(int loop, float volume) {
    if (!(SoundCache::shared()->enableMask.load() & 2)) return -1;
    if (!pool_) return -1;
    const int slot = pool_->nextSlot;
    const int handle = pool_->nextHandle;
    pool_->handles[slot] = handle;
    pool_->nextSlot = (slot + 1) % EffectSourcePool::kSlots;
    pool_->nextHandle = (handle + 1) % 256;
    const ALuint source = pool_->sources[slot];
    alSourceStop(source);  // whatever the slot played is cut off
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer_));
    alSourcef(source, AL_GAIN, clampVolume(volume));
    alSourcei(source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSourcePlay(source);
    return handle;
}

ALuint SEffectIOS::sourceFor(int handle) const {
    if (!pool_ || !buffer_) return 0;
    for (int slot = 0; slot < EffectSourcePool::kSlots; ++slot) {
        if (pool_->handles[slot] != handle) continue;
        ALint current = 0;
        alGetSourcei(pool_->sources[slot], AL_BUFFER, &current);
        return static_cast<ALuint>(current) == buffer_ ? pool_->sources[slot] : 0;
    }
    return 0;
}

void SEffectIOS::stop(int handle) {
    if (ALuint source = sourceFor(handle)) alSourceStop(source);
}

void SEffectIOS::pause(int handle) {
    if (ALuint source = sourceFor(handle)) alSourcePause(source);
}

void SEffectIOS::resume(int handle) {
    if (ALuint source = sourceFor(handle)) alSourcePlay(source);
}

}  // namespace RK
