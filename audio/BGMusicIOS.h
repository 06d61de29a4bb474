#pragma once
// Music for every file that is not Ogg: the whole file goes to the system
// audio player, whose end event reaches the listener through a small
// delegate. Main thread only.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <memory>

#include "audio/BGMusic.h"
#include "platform/SystemAudioPlayer.h"

namespace RK {

class BGMusicIOS;

// Receives the system player's finish event for one music.
class RKBGMusicIOSDelegate : public platform::SystemAudioPlayerDelegate {
public:
    BGMusicIOS* observer() const { return observer_; }
    void setObserver(BGMusicIOS* observer) { observer_ = observer; }
    void audioPlayerDidFinishPlaying(platform::SystemAudioPlayer& player, bool successfully) override;

private:
    BGMusicIOS* observer_ = nullptr;  // not owned
};

class BGMusicIOS : public BGMusic {
public:
    // audio null: the installed backend's system player.
    explicit BGMusicIOS(platform::SystemAudio* audio = nullptr) : audio_(audio) {}
    ~BGMusicIOS() override;
    BGMusicIOS(const BGMusicIOS&) = delete;
    BGMusicIOS& operator=(const BGMusicIOS&) = delete;

    bool load(const char* path) override;
    void play() override;
    void stop() override;
    void pause() override;
    bool isPlaying() override;
    void setLoop(bool loop) override;
    void setVolume(float volume) override;

    platform::SystemAudioPlayer* player() const { return player_.get(); }

private:
    platform::SystemAudio* audio_;
    std::unique_ptr<platform::SystemAudioPlayer> player_;
    std::unique_ptr<RKBGMusicIOSDelegate> delegate_;
};

}  // namespace RK
