#pragma once
// The process's audio session (AVAudioSession): its category decides how the
// client's sound mixes with other audio. Main thread only.
// Names kept from the phone client: see docs/GLOSSARY.md.
namespace platform {

class AudioSessionDelegate {
public:
    virtual ~AudioSessionDelegate() = default;
    virtual void audioSessionBeginInterruption() {}
    virtual void audioSessionEndInterruption() {}
};

class AudioSession {
public:
    enum class Category {
        SoloAmbient,  // the platform default
        Ambient,      // mixes with other audio, follows the silent switch
        Playback,
    };
    virtual ~AudioSession() = default;
    virtual bool setCategory(Category category) = 0;
    virtual Category category() const = 0;
    virtual void setDelegate(AudioSessionDelegate* delegate) = 0;  // not owned
    virtual AudioSessionDelegate* delegate() const = 0;
};

}  // namespace platform
