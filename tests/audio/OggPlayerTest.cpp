#include "audio/OggPlayerIOS.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "audio/AudioDevice.h"
#include "audio/SoundCache.h"
#include "audio/StreamWorker.h"
#include "tests/audio/support/LoopbackAudio.h"
#include "tests/audio/support/TestClips.h"

namespace {

using audiotest::Clip;
using audiotest::LoopbackAudio;

class CountingListener : public RK::BGMusic::EventListener {
public:
    explicit CountingListener(const LoopbackAudio* audio = nullptr) : audio_(audio) {}
    void onFinished(RK::BGMusic* music) override {
        last = music;
        if (audio_) firstAt = count.load() == 0 ? audio_->now() : firstAt;
        count.fetch_add(1);
    }
    std::atomic<int> count{0};
    RK::BGMusic* last = nullptr;
    double firstAt = -1;

private:
    const LoopbackAudio* audio_;
};

// The mixer applies a start or stop some 44 frames into the next render
// (what it still had in flight); from then on two starts from the beginning
// must sound the same, sample for sample (up to the mixer's dither).
long differingFrames(const std::vector<short>& a, const std::vector<short>& b) {
    constexpr long kSettle = 64;
    constexpr int kDither = 8;
    const long frames = static_cast<long>(std::min(a.size(), b.size()) / 2);
    if (frames <= kSettle || audiotest::peak(a, kSettle, frames) < 4000) return -1;
    long differing = 0;
    for (long f = kSettle; f < frames; ++f)
        differing += std::abs(a[2 * f] - b[2 * f]) > kDither || std::abs(a[2 * f + 1] - b[2 * f + 1]) > kDither;
    return differing;
}

class OggPlayerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(audio_.ok()) << "no loopback device"; }

    std::unique_ptr<RK::OggPlayerIOS> load(const Clip& clip, bool loopBeforeLoad = false) {
        const std::string path = dir_.file("clip" + std::to_string(++clips_) + ".ogg");
        EXPECT_TRUE(audiotest::writeOggClip(path, clip));
        auto player = std::make_unique<RK::OggPlayerIOS>();
        if (loopBeforeLoad) player->setLoop(true);
        EXPECT_TRUE(player->load(path.c_str()));
        return player;
    }

    audiotest::ScopedDir dir_{"oggplayer"};
    LoopbackAudio audio_;
    int clips_ = 0;
};

TEST_F(OggPlayerTest, LoadFailureLeavesNothingBehind) {
    RK::OggPlayerIOS player;
    EXPECT_FALSE(player.load(dir_.file("absent.ogg").c_str()));
    EXPECT_FALSE(player.load(""));
    EXPECT_EQ(player.sourceName(), 0u);
    EXPECT_EQ(RK::StreamWorker::shared().activeCount(), 0u);
    player.play();  // harmless on an unloaded player
    player.stop();
    EXPECT_FALSE(player.isPlaying());
}

// The end of the file and its start share one buffer: the mix never drops
// to silence at the wrap, whether the piece is shorter or longer than a
// buffer and whatever its rate.
TEST_F(OggPlayerTest, LoopingPieceIsGaplessAtTheWrap) {
    struct Case {
        Clip clip;
    } cases[] = {
        {{1, 44100, 10000}},  // shorter than one buffer
        {{2, 44100, 48500}},  // the wrap falls inside a worker refill
        {{1, 22050, 16550}},  // resampled, odd buffer size
    };
    for (const Case& c : cases) {
        auto player = load(c.clip);
        player->setLoop(true);
        player->stop();  // re-prime with the loop flag set
        player->play();
        const double seconds = 2.4;
        std::vector<short> out = audio_.run(seconds);
        const long frames = static_cast<long>(out.size() / 2);
        EXPECT_LT(audiotest::longestQuietRun(out, 64, frames), 8)
            << c.clip.channels << " ch " << c.clip.rate << " Hz " << c.clip.frames << " frames";
        EXPECT_GT(audiotest::peak(out, frames - 4410, frames), 4000);
        EXPECT_TRUE(player->isPlaying());
        player->stop();
    }
    EXPECT_EQ(RK::StreamWorker::shared().underruns(), 0u);
}

// A voice clip tells its listener once, and no later than one worker period
// after its last sample has been mixed.
TEST_F(OggPlayerTest, VoiceClipReportsItsEndOnceAndPromptly) {
    struct Case {
        Clip clip;
    } cases[] = {
        {{1, 44100, 26460}},  // 0.6 s: worker refills along the way
        {{2, 44100, 4410}},   // 0.1 s: ends inside the first buffer
        {{1, 22050, 11024}},  // exactly two buffers
        {{2, 22050, 9999}},
    };
    for (const Case& c : cases) {
        auto player = load(c.clip);
        CountingListener listener(&audio_);
        player->setListener(&listener);
        const double start = audio_.now();
        player->play();
        std::vector<short> out = audio_.run(1.2);
        const double length = static_cast<double>(c.clip.frames) / c.clip.rate;
        const std::string what = std::to_string(c.clip.channels) + " ch " + std::to_string(c.clip.frames);
        EXPECT_EQ(listener.count.load(), 1) << what;
        EXPECT_EQ(listener.last, player.get());
        EXPECT_GE(listener.firstAt - start, length) << what;
        EXPECT_LE(listener.firstAt - start, length + 0.040 + 1e-6) << what;
        EXPECT_FALSE(player->isPlaying());
        // Sound while the clip lasts, silence after it.
        const long endFrame = static_cast<long>(length * LoopbackAudio::kRate);
        EXPECT_GT(audiotest::peak(out, 0, endFrame), 4000) << what;
        EXPECT_LT(audiotest::peak(out, endFrame + 64, static_cast<long>(out.size() / 2)), 50) << what;
        player->setListener(nullptr);
    }
}

TEST_F(OggPlayerTest, StopThenPlayRestartsFromTheStart) {
    auto player = load({2, 44100, 30000, 300.0});
    player->play();
    const std::vector<short> first = audio_.run(0.2);
    audio_.run(0.3);
    player->stop();
    EXPECT_FALSE(player->isPlaying());
    player->play();
    const std::vector<short> again = audio_.run(0.2);
    EXPECT_EQ(differingFrames(first, again), 0);
    // The same after the clip has played to its end.
    audio_.run(1.0);
    EXPECT_FALSE(player->isPlaying());
    player->stop();
    player->play();
    const std::vector<short> afterEnd = audio_.run(0.2);
    EXPECT_EQ(differingFrames(first, afterEnd), 0);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST_F(OggPlayerTest, PauseAfterTheEndWasDecodedStillReportsTheEnd) {
    auto shortClip = load({1, 44100, 13230});  // 0.3 s: its end is decoded at load
    auto longClip = load({1, 44100, 88200});   // 2 s
    CountingListener shortListener, longListener;
    shortClip->setListener(&shortListener);
    longClip->setListener(&longListener);
    shortClip->play();
    longClip->play();
    audio_.run(0.08);
    shortClip->pause();
    longClip->pause();
    audio_.run(0.5);
    EXPECT_EQ(shortListener.count.load(), 1);
    EXPECT_EQ(longListener.count.load(), 0);
    EXPECT_FALSE(shortClip->isPlaying());
    // Resuming the long one continues where it was.
    longClip->play();
    audio_.run(0.2);
    EXPECT_TRUE(longClip->isPlaying());
    longClip->setListener(nullptr);
    shortClip->setListener(nullptr);
}

TEST_F(OggPlayerTest, EndWithoutListenerIsHeardByALaterListener) {
    auto player = load({2, 44100, 8000});
    player->play();
    audio_.run(0.5);
    CountingListener listener;
    player->setListener(&listener);
    audio_.run(0.12);
    EXPECT_EQ(listener.count.load(), 1);
    audio_.run(0.2);
    EXPECT_EQ(listener.count.load(), 1);
    player->setListener(nullptr);
}

// A short clip is all decoded at load; the worker must not report its end
// before it has been started.
TEST_F(OggPlayerTest, LoadedButNotStartedReportsNothing) {
    auto player = load({1, 44100, 2000});
    CountingListener listener;
    player->setListener(&listener);
    audio_.run(0.2);
    EXPECT_EQ(listener.count.load(), 0);
    player->play();
    audio_.run(0.2);
    EXPECT_EQ(listener.count.load(), 1);
    player->setListener(nullptr);
}

TEST_F(OggPlayerTest, VolumeIsClamped) {
    auto player = load({1, 44100, 4000});
    struct Case {
        float in, gain;
    } cases[] = {{1.7f, 1.0f}, {-0.2f, 0.0f}, {0.25f, 0.25f}, {NAN, 0.0f}};
    for (const Case& c : cases) {
        player->setVolume(c.in);
        ALfloat gain = -1;
        alGetSourcef(player->sourceName(), AL_GAIN, &gain);
        EXPECT_FLOAT_EQ(gain, c.gain) << c.in;
    }
}

// A clip that ended in its first buffer has no second block; turning the
// loop on and rewinding must allocate it rather than decode into nothing.
TEST_F(OggPlayerTest, ShortClipTurnedLoopingAfterLoadFillsBothBuffers) {
    auto player = load({2, 44100, 3000});
    player->setLoop(true);
    player->stop();
    player->play();
    std::vector<short> out = audio_.run(1.0);
    EXPECT_LT(audiotest::longestQuietRun(out, 64, static_cast<long>(out.size() / 2)), 8);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST_F(OggPlayerTest, DrySourceIsRefilledRestartedAndCounted) {
    auto player = load({2, 44100, 60000});
    player->setLoop(true);
    player->play();
    const auto before = RK::StreamWorker::shared().underruns();
    audio_.render(LoopbackAudio::kRate);  // a second with no worker pass
    EXPECT_FALSE(player->isPlaying());
    audio_.run(0.04);
    EXPECT_TRUE(player->isPlaying());
    EXPECT_EQ(RK::StreamWorker::shared().underruns(), before + 1);
    std::vector<short> out = audio_.run(1.0);
    EXPECT_LT(audiotest::longestQuietRun(out, 64, static_cast<long>(out.size() / 2)), 8);
    // A paused source is not dry.
    player->pause();
    audio_.run(0.5);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(RK::StreamWorker::shared().underruns(), before + 1);
}

TEST_F(OggPlayerTest, WorkerEndsWhenNoPlayerIsLeft) {
    {
        auto player = load({1, 44100, 4000});
        player->play();
        EXPECT_TRUE(RK::StreamWorker::shared().running());
        EXPECT_TRUE(RK::StreamWorker::shared().runPass());
    }
    EXPECT_EQ(RK::StreamWorker::shared().activeCount(), 0u);
    EXPECT_FALSE(RK::StreamWorker::shared().runPass());
    EXPECT_FALSE(RK::StreamWorker::shared().running());
}

TEST_F(OggPlayerTest, RetiredPlayerIsDeletedByTheWorker) {
    auto player = load({2, 44100, 40000});
    player->play();
    audio_.run(0.1);
    RK::OggPlayerIOS::retire(player.release());
    EXPECT_EQ(RK::StreamWorker::shared().activeCount(), 0u);
    EXPECT_EQ(RK::StreamWorker::shared().retiredCount(), 1u);
    audio_.run(1.2);
    EXPECT_EQ(RK::StreamWorker::shared().retiredCount(), 0u);
}

// The real worker thread services many players while the main thread
// starts, pauses, stops, replays and re-listens to them.
TEST(OggPlayerThreads, ManyPlayersDrivenWhileTheWorkerRuns) {
    audiotest::ScopedDir dir("oggthreads");
    LoopbackAudio audio(/*manualWorker=*/false);
    ASSERT_TRUE(audio.ok());
    std::vector<std::unique_ptr<RK::OggPlayerIOS>> players;
    std::vector<std::unique_ptr<CountingListener>> listeners;
    for (int i = 0; i < 10; ++i) {
        const std::string path = dir.file("p" + std::to_string(i) + ".ogg");
        ASSERT_TRUE(audiotest::writeOggClip(path, {1 + i % 2, i % 3 ? 44100 : 22050, 2000L + 3000L * i}));
        players.push_back(std::make_unique<RK::OggPlayerIOS>());
        players.back()->setLoop(i % 4 == 0);
        ASSERT_TRUE(players.back()->load(path.c_str()));
        listeners.push_back(std::make_unique<CountingListener>());
    }
    std::mt19937 random(7);
    for (int step = 0; step < 400; ++step) {
        const size_t i = random() % players.size();
        RK::OggPlayerIOS& player = *players[i];
        switch (random() % 6) {
            case 0: player.play(); break;
            case 1: player.pause(); break;
            case 2: player.stop(); break;
            case 3: player.setListener(random() % 2 ? listeners[i].get() : nullptr); break;
            case 4: player.setVolume(static_cast<float>(random() % 100) / 50.0f); break;
            case 5: player.setLoop(random() % 2); break;
        }
        audio.render(441);  // 10 ms of mixing between operations
        if (step % 8 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
    for (auto& player : players) player->setListener(nullptr);
    players.clear();
    EXPECT_EQ(RK::StreamWorker::shared().activeCount(), 0u);
}

// The worker ends by itself once no player is left; a player loaded and
// started right after must find a new worker, every time.
TEST(OggPlayerThreads, WorkerRestartsAfterEndingByItself) {
    audiotest::ScopedDir dir("oggrestart");
    LoopbackAudio audio(/*manualWorker=*/false);
    ASSERT_TRUE(audio.ok());
    const std::string path = dir.file("blip.ogg");
    ASSERT_TRUE(audiotest::writeOggClip(path, {1, 44100, 2205}));  // 50 ms
    for (int round = 0; round < 8; ++round) {
        auto player = std::make_unique<RK::OggPlayerIOS>();
        ASSERT_TRUE(player->load(path.c_str()));
        CountingListener listener;
        player->setListener(&listener);
        player->play();
        for (int i = 0; i < 100 && listener.count.load() == 0; ++i) {
            audio.render(441);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(listener.count.load(), 1) << "round " << round;
        player->setListener(nullptr);
        player.reset();
        // Give the worker a pass to find the sets empty and end.
        for (int i = 0; i < 20 && RK::StreamWorker::shared().running(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_FALSE(RK::StreamWorker::shared().running()) << "round " << round;
    }
}

// Exit while the real worker streams: it is stopped and joined before any
// player goes, and every player is deleted exactly once.
TEST(OggPlayerThreads, CacheTeardownWhileTheWorkerStreams) {
    audiotest::ScopedDir dir("oggteardown");
    LoopbackAudio audio(/*manualWorker=*/false);
    ASSERT_TRUE(audio.ok());
    for (int i = 0; i < 6; ++i) {
        const std::string path = dir.file("m" + std::to_string(i) + ".ogg");  // absolute: no search list needed
        ASSERT_TRUE(audiotest::writeOggClip(path, {1 + i % 2, 44100, 20000}));
        RK::BGMusic* music = RK::SoundCache::shared()->getMusic(path.c_str());
        ASSERT_NE(music, nullptr);
        music->setLoop(i % 2 == 0);
        music->play();
    }
    for (int i = 0; i < 30; ++i) {
        audio.render(441);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(RK::StreamWorker::shared().running());
    RK::SoundCache::destroyShared();
    EXPECT_FALSE(RK::StreamWorker::shared().running());
    EXPECT_EQ(RK::StreamWorker::shared().activeCount(), 0u);
    EXPECT_EQ(RK::StreamWorker::shared().retiredCount(), 0u);
    EXPECT_EQ(RK::audioDevice(), nullptr);
}

}  // namespace
