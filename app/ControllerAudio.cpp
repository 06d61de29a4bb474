// The controller's music and effects: the audio set-up of the view, the
// page's music and effect actions, and the music ducking. Each page action
// leaves one line in the log (the headless journal shows what a page asked).
#include <algorithm>

#include "app/MyWebViewController.h"
#include "app/Services.h"
#include "app/SettingsKeys.h"
#include "audio/AudioDevice.h"
#include "audio/SearchPaths.h"
#include "audio/SoundCache.h"
#include "platform/Log.h"

namespace app {
namespace {

// The value exactly as it stands in the URL; empty when the key is absent.
std::string queryText(const Query& q, const char* key) {
    const auto it = q.find(key);
    return it == q.end() ? std::string() : it->second;
}

}  // namespace

void MyWebViewController::initAudio() {
    RK::initSearchPaths();
    RK::initAudioDevice();
    RK::SoundCache* cache = RK::SoundCache::shared();
    cache->enableMask = 3;
    cache->setMusicVolume(1.0f);
}

void MyWebViewController::setChangeBGMVol(int percentage) {
    _changeBGMVol = std::clamp(percentage, 0, 100);
    if (_bgm) _bgm->setVolume(services::prefs().floatForKey(kKeyBgmVal) * static_cast<float>(_changeBGMVol) / 100.0f);
}

void MyWebViewController::resetChangeBGMVol() { setChangeBGMVol(100); }

void MyWebViewController::javascript_playBGM(const Query& q) {
    const std::string name = queryText(q, "name");
    platform::log("controller: javascript_playBGM: %s", name.c_str());
    // The same music keeps playing. A name whose music failed to load is
    // tried again (it may have been downloaded since).
    if (name == _bgmFileName && _bgm) return;
    _bgmFileName = name;
    if (_bgm) _bgm->stop();
    _bgm = RK::SoundCache::shared()->getMusic(name.c_str());
    if (!_bgm) return;
    setChangeBGMVol(_changeBGMVol);
    _bgm->setLoop(true);
    _bgm->play();
}

void MyWebViewController::javascript_stopBGM() {
    platform::log("controller: javascript_stopBGM");
    if (!_bgm) return;
    _bgm->stop();  // stays the current music, rewound
    _bgmFileName.clear();
}

void MyWebViewController::javascript_playSE(const Query& q) {
    const std::string name = queryText(q, "name");
    platform::log("controller: javascript_playSE: %s", name.c_str());
    _se = RK::SoundCache::shared()->getEffect(name.c_str());
    if (_se) _sePlayId = _se->play(0, services::prefs().floatForKey(kKeySeVal));
}

void MyWebViewController::javascript_stopSE() {
    platform::log("controller: javascript_stopSE");
    if (!_se || _sePlayId == 0) return;
    _se->stop(_sePlayId);
    _sePlayId = 0;
}

}  // namespace app
