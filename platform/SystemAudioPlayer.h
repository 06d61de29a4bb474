#pragma once
// The system audio player (AVAudioPlayer): a whole file image handed over in
// memory, decoded and played by the platform. Main thread only; the finish
// event is delivered on the main thread.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <memory>
#include <string>
#include <vector>

namespace platform {

class SystemAudioPlayer;

class SystemAudioPlayerDelegate {
public:
    virtual ~SystemAudioPlayerDelegate() = default;
    // A play-once run reached its end (successfully false: decoding broke off).
    virtual void audioPlayerDidFinishPlaying(SystemAudioPlayer& player, bool successfully) = 0;
};

class SystemAudioPlayer {
public:
    virtual ~SystemAudioPlayer() = default;
    virtual bool prepareToPlay() = 0;
    virtual bool play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;  // stops; the position stays where it was
    virtual bool isPlaying() const = 0;
    virtual void setCurrentTime(double seconds) = 0;
    virtual double currentTime() const = 0;
    virtual double duration() const = 0;
    // -1: endlessly; 0: once; n: n extra times.
    virtual void setNumberOfLoops(int loops) = 0;
    virtual int numberOfLoops() const = 0;
    virtual void setVolume(float volume) = 0;
    virtual float volume() const = 0;
    // Not owned.
    virtual void setDelegate(SystemAudioPlayerDelegate* delegate) = 0;
    virtual SystemAudioPlayerDelegate* delegate() const = 0;
};

class SystemAudio {
public:
    virtual ~SystemAudio() = default;
    // initWithData:error: — null and a readable description on failure.
    virtual std::unique_ptr<SystemAudioPlayer> createPlayer(std::vector<unsigned char> data, std::string& error) = 0;
};

}  // namespace platform
