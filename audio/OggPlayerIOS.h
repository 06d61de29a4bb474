#pragma once
// The streaming player for ".ogg" music and voices: a quarter second at a
// time into two PCM blocks queued on one OpenAL source, kept full by the
// stream worker shared by all players.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <AL/al.h>

#include <atomic>
#include <cstdint>

#include "audio/BGMusic.h"
#include "audio/OggDecoder.h"

namespace RK {

class OggPlayerIOS : public BGMusic {
public:
    OggPlayerIOS() = default;
    ~OggPlayerIOS() override;
    OggPlayerIOS(const OggPlayerIOS&) = delete;
    OggPlayerIOS& operator=(const OggPlayerIOS&) = delete;

    bool load(const char* path) override;
    void play() override;
    void stop() override;
    void pause() override;
    bool isPlaying() override;
    void setLoop(bool loop) override;
    void setVolume(float volume) override;
    // Taken under the stream lock: the worker calls the listener under it.
    void setListener(EventListener* listener) override;

    // One worker pass for this player; the stream lock is held.
    void service();
    // True once the source has let go of every queued buffer (or is not
    // playing), so deleting the player cannot cut audio mid-buffer.
    bool releasedItsBuffers() const;
    // Gives the player up: out of the worker's active set, silenced, and
    // deleted by the worker later.
    static void retire(OggPlayerIOS* player);

    ALuint sourceName() const { return source_; }
    int bufferBytes() const { return decoder_.bufferBytes; }

private:
    int indexOf(ALuint buffer) const;
    // Decodes into block i (allocated on first use) and queues buffer i;
    // a fill that yields nothing queues nothing.
    void fillAndQueue(int i);
    void unqueueAll();
    void refillReleased(int processed);

    OggFileDecoder decoder_;
    ALuint source_ = 0;
    ALuint buffers_[2] = {0, 0};
    char* pcm_[2] = {nullptr, nullptr};
    int nextIndex_ = 0;
    ALenum format_ = 0;
    std::atomic<bool> loop_{false};
    bool endOfStream_ = false;  // guarded by the stream lock once loaded
    // The owner wants sound: set by play, cleared by pause and stop, and by
    // the end of a non-looping stream. Tells a dry source from a paused one.
    std::atomic<bool> wantPlaying_{false};
};

}  // namespace RK
