// The page's voice queue: clips one after another, each after its delay and
// with the music ducked as the item says, ending in a callback to the page.
// Delays are timers on the main loop, never sleeps, so a page cannot freeze
// the client; replacing or stopping the queue cancels a pending delay.
#include <chrono>

#include "app/AudioListeners.h"
#include "app/MyWebViewController.h"
#include "app/Services.h"
#include "app/SettingsKeys.h"
#include "app/VoiceQueue.h"
#include "audio/SoundCache.h"
#include "platform/Log.h"

namespace app {
namespace {

constexpr const char* kVoiceDoneScript = "callbackVoicePlayRes();";

void cancelVoiceDelay(std::uint64_t& task) {
    if (task != 0) services::mainLoop().cancel(task);
    task = 0;
}

}  // namespace

void MyWebViewController::javascript_playVoice(const Query& q) {
    const auto it = q.find("data");
    _voicePlayData = it == q.end() ? std::string() : it->second;
    platform::log("controller: javascript_playVoice: %s", _voicePlayData.c_str());
    cancelVoiceDelay(_voiceDelayTask);
    playVoice();
}

void MyWebViewController::javascript_stopVoice() {
    platform::log("controller: javascript_stopVoice");
    cancelVoiceDelay(_voiceDelayTask);
    resetChangeBGMVol();
    if (_voice) _voice->stop();
    // The rest of the queue stays; the next javascript_playVoice: replaces it.
}

void MyWebViewController::playVoice() {
    cancelVoiceDelay(_voiceDelayTask);
    // The clip that just ended (or is cut short) reports no more.
    releaseListener(_voiceClipListener);
    if (_voice) _voice->stop();  // also rewinds a clip that played to its end

    std::optional<VoiceItem> item;
    while (!item && !_voicePlayData.empty()) {
        item = takeVoiceItem(_voicePlayData);
        if (!item) platform::log("voice queue: skipped a malformed item");
    }
    if (!item) {
        resetChangeBGMVol();
        return;
    }
    if (!voiceDelayIsWaited(item->delayMs)) {
        playVoiceItem(*item);
        return;
    }
    std::weak_ptr<bool> alive = aliveToken();
    _voiceDelayTask = services::mainLoop().postAfter(
        std::chrono::milliseconds(item->delayMs), [this, alive, next = *item] {
            const std::shared_ptr<bool> token = alive.lock();
            if (!token || !*token) return;
            _voiceDelayTask = 0;
            playVoiceItem(next);
        });
}

void MyWebViewController::playVoiceItem(const VoiceItem& item) {
    if (item.ducking) setChangeBGMVol(*item.ducking);
    if (item.name.empty()) {
        resetChangeBGMVol();
        evaluateScript(kVoiceDoneScript);
        return;
    }
    _voice = RK::SoundCache::shared()->getMusic(item.name.c_str());
    if (!_voice) return;  // the queue stops here, without a callback
    _voice->setVolume(services::prefs().floatForKey(kKeyVoiceVal));
    _voice->setLoop(false);
    _voiceClipListener = std::make_shared<VoiceBgmListener>(this);
    _voiceClipListener->attach(_voice);
    _voice->play();
}

}  // namespace app
