// The option view's three volume sliders and the page action that opens it.
#include "app/AudioListeners.h"
#include "app/MyWebViewController.h"
#include "app/Services.h"
#include "app/SettingsKeys.h"
#include "audio/SoundCache.h"
#include "foundation/Strings.h"
#include "platform/Log.h"

namespace app {
namespace {

void storeVolume(const char* key, float value) {
    platform::Preferences& prefs = services::prefs();
    prefs.setFloat(key, value);
    prefs.flush();
}

}  // namespace

void MyWebViewController::javascript_volChange(const Query& q) {
    _optionCastId = queryInt(q, "castId");
    addOptionView();
}

void MyWebViewController::sliderChanged(platform::ui::Slider& slider) {
    const float value = slider.value();
    platform::log("controller: sliderChanged tag %d value %.2f", slider.tag(), value);
    RK::SoundCache* cache = RK::SoundCache::shared();
    switch (slider.tag()) {
        case kTagSliderVoice:
            // A sample of the chosen character's voice at the new volume.
            releaseListener(_voiceClipListener);
            if (_voice) {
                _voice->stop();
                _voice->setListener(nullptr);
            }
            _voice = cache->getMusic(RK::format("title_%d.ogg", _optionCastId.load()).c_str());
            if (_voice) {
                _voice->setVolume(value);
                _voice->setLoop(false);
                _voice->play();
            }
            storeVolume(kKeyVoiceVal, value);
            break;
        case kTagSliderSe:
            _se = cache->getEffect("se_01.ogg");
            if (_se) _sePlayId = _se->play(0, value);
            storeVolume(kKeySeVal, value);
            break;
        case kTagSliderBgm:
            // The raw value: the ducking comes back with its next change.
            if (_bgm) _bgm->setVolume(value);
            storeVolume(kKeyBgmVal, value);
            break;
        default:
            break;
    }
}

}  // namespace app
