#pragma once
// The music interface: background music and voice clips alike. The concrete
// players are OggPlayerIOS (streamed Ogg) and BGMusicIOS (system player).
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <atomic>

namespace RK {

class BGMusic {
public:
    class EventListener {
    public:
        virtual ~EventListener() = default;
        // The player reached its end. Streamed players call this on their
        // worker thread: post to the main thread and return, never call back
        // into a player and never block.
        virtual void onFinished(BGMusic* music) = 0;
    };

    virtual ~BGMusic() = default;
    virtual bool load(const char* path) = 0;
    virtual void play() = 0;
    virtual void stop() = 0;  // stops and rewinds: the next play starts from the start
    virtual void pause() = 0;
    virtual bool isPlaying() = 0;
    virtual void setLoop(bool loop) = 0;
    virtual void setVolume(float volume) = 0;  // clamped to 0.0 ... 1.0

    // Replaces the listener (not owned). Once this returns the previous one is
    // no longer being called and may be deleted.
    virtual void setListener(EventListener* listener) { listener_.store(listener); }
    EventListener* getListener() const { return listener_.load(); }

protected:
    std::atomic<EventListener*> listener_{nullptr};
};

class SEffect {
public:
    virtual ~SEffect() = default;
    virtual bool load(const char* path) = 0;
    // A play handle 0 ... 255, or -1 when effects are disabled.
    virtual int play(int loop, float volume) = 0;
    virtual void stop(int handle) = 0;
    virtual void pause(int handle) = 0;
    virtual void resume(int handle) = 0;
};

}  // namespace RK
