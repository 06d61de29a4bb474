#include "audio/BGMusicIOS.h"

#include <string>
#include <vector>

#include "audio/AudioFileDecoder.h"
#include "audio/AudioFormat.h"
#include "audio/RegularFile.h"
#include "audio/SoundCache.h"
#include "platform/Backend.h"
#include "platform/Log.h"

namespace RK {
void RKBGMusicIOSDelegate::audioPlayerDidFinishPlaying(platform::SystemAudioPlayer&, bool successfully) {
    if (!successfully || !observer_) return;
    if (BGMusic::EventListener* listener = observer_->getListener()) listener->onFinished(observer_);
}

BGMusicIOS::~BGMusicIOS() {
    if (player_) {
        player_->setDelegate(nullptr);
        player_->stop();
    }
    player_.reset();
    delegate_.reset();
}

bool BGMusicIOS::load(const char* path) {
    const char* shown = path ? path : "";
    if (player_) {
        platform::log("BGMusicIOS: %s: music already loaded", shown);
        return false;
    }
    platform::SystemAudio* audio = audio_;
    if (!audio && platform::backend()) audio = platform::backend()->systemAudio();
    std::vector<unsigned char> data;
    std::string error;
    if (!audio) {
        error = "No system audio player.";
    } else if (readRegularFile(shown, kMaxAudioFileBytes, data, error)) {
        player_ = audio->createPlayer(std::move(data), error);
        if (!player_ && error.empty()) error = "The data could not be decoded.";
    }
    if (!player_) {
        platform::log("LoadError(%s) %s", shown, error.c_str());
        return false;
    }
    delegate_ = std::make_unique<RKBGMusicIOSDelegate>();
    delegate_->setObserver(this);
    player_->setDelegate(delegate_.get());
    player_->prepareToPlay();
    return true;
}

void BGMusicIOS::play() {
    if (!player_) return;
    if (SoundCache::shared()->enableMask.load() & 1) player_->play();
}

void BGMusicIOS::stop() {
    if (!player_) return;
    player_->stop();
    player_->prepareToPlay();
    player_->setCurrentTime(0.0);
}

void BGMusicIOS::pause() {
    if (player_) player_->pause();
}

bool BGMusicIOS::isPlaying() { return player_ && player_->isPlaying(); }

void BGMusicIOS::setLoop(bool loop) {
    if (player_) player_->setNumberOfLoops(loop ? -1 : 0);
}

void BGMusicIOS::setVolume(float volume) {
    if (player_) player_->setVolume(clampVolume(volume));
}

}  // namespace RK
