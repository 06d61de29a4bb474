// The voices of the start sequence: the maker-logo voice, whose end leads
// through the caution picture to the title picture and titleInit, and the
// title voice, whose end lets the title accept a tap. The pauses between the
// pictures are main-loop timers, not sleeps.
#include <functional>
#include <random>

#include "app/AudioListeners.h"
#include "app/MyWebViewController.h"
#include "audio/SoundCache.h"
#include "foundation/Strings.h"
#include "platform/Log.h"
#include "platform/ui/ImageCodec.h"
#include "platform/ui/ViewAnimation.h"

namespace app {
namespace {

constexpr int kPauseMs = 1000;
constexpr double kFadeSeconds = 1.0;

int randomIn(int low, int high) {
    std::random_device device;
    return std::uniform_int_distribution<int>(low, high)(device);
}

// A task that runs only while the controller exists.
std::function<void()> whileAlive(const MyWebViewController& controller, std::function<void()> task) {
    return [alive = controller.aliveToken(), task = std::move(task)] {
        const std::shared_ptr<bool> token = alive.lock();
        if (token && *token) task();
    };
}

// One linear 1.0 s fade of the title image, then next (also when the view is
// missing, so the sequence still reaches its end).
void fadeTitle(MyWebViewController& c, double to, std::function<void()> next) {
    if (!c.outlets()._imageTitle) {
        c.afterDelay(static_cast<int>(kFadeSeconds * 1000), std::move(next));
        return;
    }
    platform::ui::AnimationOptions options;
    options.duration = kFadeSeconds;
    options.delay = 0;
    options.curve = platform::ui::AnimationCurve::Linear;
    platform::ui::animateAlpha(*c.outlets()._imageTitle, to, options,
                               [next = whileAlive(c, std::move(next))](bool) { next(); });
}

void showTitlePicture(MyWebViewController& c, const char* name) {
    if (!c.outlets()._imageTitle) return;
    c.outlets()._imageTitle->setImage(platform::ui::imageNamed(name));
    c.outlets()._imageTitle->setAlpha(0);
}

}  // namespace

void MyWebViewController::chooseTitleVoices() {
    _audioFileName[0] = RK::format("tarvel_%d.ogg", randomIn(1, 3));
    _audioFileName[1] = RK::format("title_%d.ogg", randomIn(1, 6));
    // Loaded now so that each starts without delay when its turn comes.
    RK::SoundCache::shared()->getMusic(_audioFileName[0].c_str());
    RK::SoundCache::shared()->getMusic(_audioFileName[1].c_str());
}

void MyWebViewController::startLogoVoice() {
    if (_voice) _voice->stop();
    releaseListener(_voiceListener);
    _voice = RK::SoundCache::shared()->getMusic(_audioFileName[0].c_str());
    if (!_voice) {
        // Without its voice the logo would wait for an end that never comes.
        platform::log("controller: logo voice \"%s\" missing, going on to the title", _audioFileName[0].c_str());
        afterDelay(0, [this] { logoVoiceEnd(); });
        return;
    }
    _voice->setVolume(1.0f);
    _voice->setLoop(false);
    _voiceListener = std::make_shared<LogoVoiceListener>(this);
    _voiceListener->attach(_voice);
    _voice->play();
}

void MyWebViewController::logoVoiceEnd() {
    releaseListener(_voiceListener);
    // Logo out, caution in; then the touch state, a pause, caution out;
    // then the title picture in and the title set-up.
    auto titleIn = [this] {
        showTitlePicture(*this, "title_back.jpg");
        fadeTitle(*this, 1.0, [this] { titleInit(); });
    };
    auto cautionShown = [this, titleIn] {
        _titleToucheState = 1;
        _titleToucheFlg = true;
        afterDelay(kPauseMs, [this, titleIn] { fadeTitle(*this, 0.0, titleIn); });
    };
    auto logoOut = [this, cautionShown] {
        fadeTitle(*this, 0.0, [this, cautionShown] {
            showTitlePicture(*this, "caution.png");
            fadeTitle(*this, 1.0, cautionShown);
        });
    };
    afterDelay(kPauseMs, logoOut);
}

void MyWebViewController::startTitleMusicAndVoice() {
    RK::SoundCache* cache = RK::SoundCache::shared();
    if (_bgm) {
        _bgm->setListener(nullptr);
        _bgm->stop();
    }
    _bgm = cache->getMusic("bgm_01.ogg");
    if (_bgm) {
        _bgm->setLoop(true);
        _bgm->play();
    }

    if (_voice) {
        _voice->setListener(nullptr);
        _voice->stop();
    }
    releaseListener(_voiceClipListener);
    releaseListener(_voiceListener);
    _voice = cache->getMusic(_audioFileName[1].c_str());
    if (!_voice) {
        // The title accepts a tap only after its voice: without one it would
        // never accept any.
        platform::log("controller: title voice \"%s\" missing", _audioFileName[1].c_str());
        afterDelay(0, [this] { titleVoiceEnd(); });
        return;
    }
    _voice->setVolume(1.0f);
    _voice->setLoop(false);
    _voiceListener = std::make_shared<TitleVoiceListener>(this);
    _voiceListener->attach(_voice);
    _voice->play();
}

void MyWebViewController::titleVoiceEnd() {
    releaseListener(_voiceListener);
    _titleToucheState = 2;
    _titleToucheFlg = true;
}

}  // namespace app
