// The controller's audio actions heard through the loopback device: the voice
// queue's order and timing, the ducking, the callback, cancelled delays, the
// volume sliders and the voices of the start sequence.
#include <gtest/gtest.h>

#include <cmath>

#include "app/AudioListeners.h"
#include "app/MyWebViewController.h"
#include "app/SettingsKeys.h"
#include "audio/BGMusic.h"
#include "platform/headless/FilePreferences.h"
#include "tests/app/AudioControllerFixture.h"
#include "tests/app/ControllerFixture.h"

namespace app::testing {
namespace {

constexpr const char* kCallback = "callbackVoicePlayRes();";
constexpr double kMusicHz = 300, kVoiceAHz = 700, kVoiceBHz = 1100;

using ControllerAudio = AudioControllerFixture;

// The queue of three items: A at once, then half a second, the music down to
// 40 %, B, and at B's end the music restored and the callback.
TEST_F(ControllerAudio, QueuePlaysDelayDuckingClipThenRestoresAndCalls) {
    const std::string music = clip("music", 8.0, kMusicHz);
    const std::string a = clip("a", 0.6, kVoiceAHz), b = clip("b", 0.6, kVoiceBHz);
    backend->preferences().setFloat(kKeyBgmVal, 0.5f);
    c->javascript_playBGM({{"name", music}});
    ASSERT_NE(c->_bgm, nullptr);
    EXPECT_FLOAT_EQ(gainOf(c->_bgm), 0.5f);

    c->javascript_playVoice({{"data", a + ":0," + b + ":500:40,:0"}});
    RK::BGMusic* playerA = c->_voice;
    ASSERT_NE(playerA, nullptr);
    EXPECT_TRUE(playerA->isPlaying());
    EXPECT_EQ(c->_changeBGMVol.load(), 100);
    const std::weak_ptr<VoiceEndListener> listenerA = c->_voiceClipListener;
    ASSERT_FALSE(listenerA.expired());

    double aEnd = -1, bStart = -1, bEnd = -1, callbackAt = -1;
    int duckingDuringDelay = -1;
    float musicGainAtB = -1, musicGainAtCallback = -1;
    RK::BGMusic* playerB = nullptr;
    step(3.0, [&](double t) {
        if (aEnd < 0 && !playerA->isPlaying()) aEnd = t;
        if (aEnd >= 0 && bStart < 0 && c->_voice != playerA && c->_voice && c->_voice->isPlaying()) {
            bStart = t;
            playerB = c->_voice;
            musicGainAtB = gainOf(c->_bgm);
        }
        if (aEnd >= 0 && bStart < 0 && t > aEnd + 0.2) duckingDuringDelay = c->_changeBGMVol;
        if (bStart >= 0 && bEnd < 0 && !playerB->isPlaying()) bEnd = t;
        if (callbackAt < 0 && scriptCount(kCallback) > 0) {
            callbackAt = t;
            musicGainAtCallback = gainOf(c->_bgm);
        }
    });

    ASSERT_GT(aEnd, 0.55);
    ASSERT_GT(bStart, 0);
    EXPECT_NEAR(bStart - aEnd, 0.5, 0.08);
    EXPECT_EQ(duckingDuringDelay, 100) << "the ducking comes after the delay";
    EXPECT_NEAR(musicGainAtB, 0.2f, 1e-4);
    ASSERT_GT(bEnd, bStart + 0.55);
    ASSERT_GE(callbackAt, bEnd);
    EXPECT_LT(callbackAt - bEnd, 0.1);
    EXPECT_NEAR(musicGainAtCallback, 0.5f, 1e-4);
    EXPECT_EQ(c->_changeBGMVol.load(), 100);
    EXPECT_EQ(scriptCount(kCallback), 1);
    EXPECT_TRUE(c->_voicePlayData.empty());
    EXPECT_TRUE(listenerA.expired()) << "a clip's listener is freed once the clip is done";
    EXPECT_EQ(playerA->getListener(), nullptr);

    // Heard in the mix: A, then silence of voices, then B; the music under B
    // at 40 % of its level under A.
    const double musicUnderA = toneAmplitude(kMusicHz, 0.1, aEnd - 0.1);
    const double musicUnderB = toneAmplitude(kMusicHz, bStart + 0.1, bEnd - 0.1);
    EXPECT_GT(toneAmplitude(kVoiceAHz, 0.1, aEnd - 0.1), 500);
    EXPECT_LT(toneAmplitude(kVoiceAHz, aEnd + 0.1, bStart - 0.05), 50);
    EXPECT_LT(toneAmplitude(kVoiceBHz, aEnd + 0.1, bStart - 0.05), 50);
    EXPECT_GT(toneAmplitude(kVoiceBHz, bStart + 0.1, bEnd - 0.1), 500);
    EXPECT_NEAR(musicUnderB / musicUnderA, 0.4, 0.05);
}

TEST_F(ControllerAudio, OneItemQueueEndsWithTheDuckingResetAndNoCallback) {
    const std::string a = clip("a", 0.3, kVoiceAHz);
    c->javascript_playVoice({{"data", a + ":0:40"}});
    ASSERT_NE(c->_voice, nullptr);
    EXPECT_EQ(c->_changeBGMVol.load(), 40);
    ASSERT_TRUE(stepUntil([&] { return c->_changeBGMVol == 100; }, 2.0));
    step(0.5);
    EXPECT_EQ(scriptCount(kCallback), 0);
}

TEST_F(ControllerAudio, DelaysAboveTheThresholdWaitOnTheMainLoop) {
    const struct {
        int delay;
        double startsBy;  // seconds of main-loop time
    } cases[] = {{0, 0.0}, {100, 0.0}, {101, 0.101}, {700, 0.7}};
    for (const auto& k : cases) {
        const std::string a = clip("a", 0.3, kVoiceAHz);
        c->javascript_playVoice({{"data", a + ":" + std::to_string(k.delay)}});
        if (k.startsBy == 0) {
            ASSERT_NE(c->_voice, nullptr) << k.delay;
            EXPECT_TRUE(c->_voice->isPlaying()) << k.delay;
        } else {
            // The call returned at once: the client is not frozen.
            EXPECT_TRUE(c->_voice == nullptr || !c->_voice->isPlaying()) << k.delay;
            step(k.startsBy - 0.01);
            EXPECT_TRUE(c->_voice == nullptr || !c->_voice->isPlaying()) << k.delay;
            step(0.02);
            ASSERT_NE(c->_voice, nullptr) << k.delay;
            EXPECT_TRUE(c->_voice->isPlaying()) << k.delay;
        }
        c->javascript_stopVoice();
    }
}

TEST_F(ControllerAudio, ReplacingOrStoppingTheQueueCancelsItsPendingDelay) {
    const std::string a = clip("a", 0.2, kVoiceAHz), b = clip("b", 0.2, kVoiceBHz), d = clip("d", 0.2, kMusicHz);
    for (bool replace : {true, false}) {
        c->javascript_playVoice({{"data", a + ":0," + b + ":800,:0"}});
        RK::BGMusic* playerA = c->_voice;
        ASSERT_NE(playerA, nullptr);
        ASSERT_TRUE(stepUntil([&] { return !playerA->isPlaying(); }, 1.0));
        step(0.1);  // now inside B's delay
        if (replace) {
            c->javascript_playVoice({{"data", d + ":0"}});
        } else {
            c->javascript_stopVoice();
        }
        RK::BGMusic* after = c->_voice;
        bool bStarted = false;
        step(1.5, [&](double) { bStarted |= c->_voice != after && c->_voice != nullptr; });
        EXPECT_FALSE(bStarted) << (replace ? "replaced" : "stopped");
        EXPECT_EQ(scriptCount(kCallback), 0);
    }
}

TEST_F(ControllerAudio, ControllerGoneMidClipOrMidDelayLeavesPlayersQuiet) {
    const std::string a = clip("a", 0.3, kVoiceAHz), b = clip("b", 0.3, kVoiceBHz);
    for (double cutAt : {0.1, 0.5}) {  // inside A; inside B's delay
        if (!delegate) {
            delegate = std::make_unique<MyWebAppDelegate>();
            c = delegate->viewController.get();
            c->setAvatarViewFactory([](platform::ui::Rect frame) { return std::make_unique<FakeAvatarView>(frame); });
            delegate->didFinishLaunching();
        }
        c->javascript_playVoice({{"data", a + ":0," + b + ":400,:0"}});
        RK::BGMusic* playerA = c->_voice;
        ASSERT_NE(playerA, nullptr);
        step(cutAt);
        delegate.reset();
        c = nullptr;
        EXPECT_EQ(playerA->getListener(), nullptr);
        step(1.5);  // A's end and B's delay come and go without a controller
    }
}

TEST_F(ControllerAudio, StoppedClipKeepsTheRestOfTheQueueUntilReplaced) {
    const std::string a = clip("a", 1.0, kVoiceAHz), b = clip("b", 0.2, kVoiceBHz);
    c->javascript_playVoice({{"data", a + ":0:30," + b + ":0"}});
    EXPECT_EQ(c->_changeBGMVol.load(), 30);
    step(0.2);
    c->javascript_stopVoice();
    EXPECT_EQ(c->_changeBGMVol.load(), 100);
    EXPECT_FALSE(c->_voice->isPlaying());
    step(1.5);
    EXPECT_EQ(c->_voicePlayData, b + ":0");  // a stopped clip never reports its end
}

TEST_F(ControllerAudio, MissingClipStopsTheQueueWithoutCallbackAndMalformedItemsAreSkipped) {
    const std::string a = clip("a", 0.2, kVoiceAHz);
    c->javascript_playVoice({{"data", "absent.ogg:0:50,:0"}});
    EXPECT_EQ(c->_voice, nullptr);
    step(0.5);
    EXPECT_EQ(scriptCount(kCallback), 0);
    EXPECT_EQ(c->_changeBGMVol.load(), 50);  // left in place

    c->javascript_playVoice({{"data", "x.ogg,y.ogg:zz," + a + ":0:oops," + a + ":0,:0"}});
    ASSERT_NE(c->_voice, nullptr);
    EXPECT_TRUE(c->_voice->isPlaying());
    ASSERT_TRUE(stepUntil([&] { return scriptCount(kCallback) == 1; }, 2.0));
    EXPECT_TRUE(logs.contains("voice queue: skipped a malformed item"));
}

TEST_F(ControllerAudio, MusicIsNotRestartedByItsOwnNameAndDuckingIsClamped) {
    const std::string music = clip("music", 3.0, kMusicHz);
    backend->preferences().setFloat(kKeyBgmVal, 0.8f);
    c->javascript_playBGM({{"name", music}});
    RK::BGMusic* player = c->_bgm;
    ASSERT_NE(player, nullptr);
    step(0.5);
    c->javascript_playBGM({{"name", music}});
    EXPECT_TRUE(player->isPlaying());
    c->javascript_stopBGM();
    EXPECT_FALSE(player->isPlaying());
    EXPECT_TRUE(c->_bgmFileName.empty());
    c->javascript_playBGM({{"name", music}});
    EXPECT_TRUE(player->isPlaying());

    const struct {
        int percent, kept;
    } cases[] = {{40, 40}, {150, 100}, {-5, 0}, {0, 0}};
    for (const auto& k : cases) {
        c->setChangeBGMVol(k.percent);
        EXPECT_EQ(c->_changeBGMVol.load(), k.kept);
        EXPECT_NEAR(gainOf(player), 0.8f * k.kept / 100.0f, 1e-4);
    }
}

TEST_F(ControllerAudio, MusicThatFailedToLoadIsTriedAgainByName) {
    const std::string name = "late_music.ogg";
    c->javascript_playBGM({{"name", name}});
    EXPECT_EQ(c->_bgm, nullptr);
    EXPECT_EQ(c->_bgmFileName, name);
    ASSERT_TRUE(audiotest::writeOggClip(backend->directories().documents() + "/" + name, {1, 22050, 22050, kMusicHz}));
    c->javascript_playBGM({{"name", name}});
    ASSERT_NE(c->_bgm, nullptr);
    EXPECT_TRUE(c->_bgm->isPlaying());
}

// Names that are not audio files at all: the music or the clip simply does
// not load, and the client goes on.
TEST_F(ControllerAudio, DirectoriesAndDevicesAsNamesLoadNothing) {
    for (const std::string& name : {std::string("."), bundle.path, std::string("/dev/zero")}) {
        logs.clear();
        c->javascript_playBGM({{"name", name}});
        EXPECT_EQ(c->_bgm, nullptr) << name;
        EXPECT_EQ(c->_bgmFileName, name);
        EXPECT_TRUE(logs.contains("LoadError(")) << logs.text();
    }
    c->javascript_playVoice({{"data", ".:0,:0"}});
    EXPECT_EQ(c->_voice, nullptr);
    step(0.2);
    EXPECT_EQ(scriptCount(kCallback), 0);  // the queue stops at the clip that did not load
    const std::string music = clip("music", 1.0, kMusicHz);
    c->javascript_playBGM({{"name", music}});
    ASSERT_NE(c->_bgm, nullptr);
    EXPECT_TRUE(c->_bgm->isPlaying());
}

TEST_F(ControllerAudio, SlidersSetVolumesAndFlushTheSettings) {
    const std::string music = clip("music", 3.0, kMusicHz);
    backend->preferences().setFloat(kKeyBgmVal, 1.0f);
    c->javascript_playBGM({{"name", music}});
    c->setChangeBGMVol(40);

    const struct {
        int tag;
        const char* key;
    } cases[] = {{kTagSliderBgm, kKeyBgmVal}, {kTagSliderSe, kKeySeVal}, {kTagSliderVoice, kKeyVoiceVal}};
    for (const auto& k : cases) {
        platform::ui::Slider slider({0, 0, 100, 20});
        slider.setTag(k.tag);
        slider.setValue(0.25f);
        c->sliderChanged(slider);
        // Written through to the file: a fresh reader of the same home sees it.
        platform::headless::FilePreferences reread(backend->filePreferences().path());
        EXPECT_FLOAT_EQ(reread.floatForKey(k.key), 0.25f) << k.key;
    }
    // The music slider sets the raw value even while ducked ...
    EXPECT_NEAR(gainOf(c->_bgm), 0.25f, 1e-4);
    // ... until the next ducking change applies the percentage again.
    c->setChangeBGMVol(40);
    EXPECT_NEAR(gainOf(c->_bgm), 0.1f, 1e-4);

    platform::ui::Slider other({0, 0, 100, 20});
    other.setTag(kTagOptionClose);
    other.setValue(0.75f);
    c->sliderChanged(other);
    EXPECT_FLOAT_EQ(backend->preferences().floatForKey(kKeyBgmVal), 0.25f);
}

TEST_F(ControllerAudio, LogoVoiceEndLeadsThroughCautionToTitleInit) {
    for (bool voicePresent : {true, false}) {
        c->_tittleShowFlg = false;
        c->_titleToucheState = 0;
        c->_audioFileName[0] = voicePresent ? clip("tarvel", 0.5, kVoiceAHz) : "absent_logo.ogg";
        const double started = audio->now();
        c->startLogoVoice();
        double end = voicePresent ? -1 : started, caution = -1, title = -1;
        step(8.0, [&](double t) {
            if (end < 0 && !c->_voice->isPlaying()) end = t;
            if (voicePresent && end < 0) {
                EXPECT_EQ(c->_titleToucheState.load(), 0);
            }
            if (caution < 0 && c->_titleToucheState == 1) caution = t;
            if (title < 0 && c->_tittleShowFlg) title = t;
        });
        const double t0 = end;
        ASSERT_GE(caution, 0) << voicePresent;
        ASSERT_GE(title, 0) << voicePresent;
        // A pause, logo out, caution in; a pause, caution out, title in.
        EXPECT_NEAR(caution - t0, 3.0, 0.1) << voicePresent;
        EXPECT_NEAR(title - t0, 6.0, 0.15) << voicePresent;
        EXPECT_EQ(c->_voiceListener, nullptr);
    }
}

TEST_F(ControllerAudio, TitleVoiceEndLetsTheTitleAcceptATap) {
    const std::string music = "bgm_01.ogg";
    ASSERT_TRUE(audiotest::writeOggClip(backend->directories().documents() + "/" + music, {1, 22050, 22050, kMusicHz}));
    for (bool voicePresent : {true, false}) {
        c->_titleToucheState = 0;
        c->_titleToucheFlg = false;
        c->_audioFileName[1] = voicePresent ? clip("title", 0.4, kVoiceBHz) : "absent_title.ogg";
        c->startTitleMusicAndVoice();
        ASSERT_NE(c->_bgm, nullptr);
        EXPECT_TRUE(c->_bgm->isPlaying());
        if (voicePresent) {
            EXPECT_FLOAT_EQ(gainOf(c->_voice), 1.0f);
            step(0.2);
            EXPECT_EQ(c->_titleToucheState.load(), 0);
        }
        ASSERT_TRUE(stepUntil([&] { return c->_titleToucheState == 2; }, 1.0)) << voicePresent;
        EXPECT_TRUE(c->_titleToucheFlg.load());
        EXPECT_EQ(c->_voiceListener, nullptr);
        step(1.5);  // the music loops on
        EXPECT_TRUE(c->_bgm->isPlaying());
    }
}

}  // namespace
}  // namespace app::testing
