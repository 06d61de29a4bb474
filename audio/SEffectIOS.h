#pragma once
// A short sound decoded whole into one OpenAL buffer and played on one of
// the five sources every effect shares. Main thread only.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <AL/al.h>

#include "audio/AudioDevice.h"
#include "audio/BGMusic.h"

namespace RK {

class SEffectIOS : public SEffect {
public:
    explicit SEffectIOS(EffectSourcePool* pool) : pool_(pool) {}
    ~SEffectIOS() override;
    SEffectIOS(const SEffectIOS&) = delete;
    SEffectIOS& operator=(const SEffectIOS&) = delete;

    bool load(const char* path) override;
    int play(int loop, float volume) override;
    void stop(int handle) override;
    void pause(int handle) override;
    void resume(int handle) override;

    ALuint bufferName() const { return buffer_; }

private:
    // The pool source that still plays this effect under the handle, or 0.
    ALuint sourceFor(int handle) const;

    EffectSourcePool* pool_;
    ALuint buffer_ = 0;
};

}  // namespace RK
