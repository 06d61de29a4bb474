#include "tests/audio/support/RealTimeClip.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "audio/AudioDevice.h"
#include "audio/OggPlayerIOS.h"
#include "audio/SoundCache.h"
#include "audio/StreamWorker.h"
#include "tests/audio/support/TestClips.h"

namespace audiotest {
namespace {

class Finished : public RK::BGMusic::EventListener {
public:
    void onFinished(RK::BGMusic*) override {
        if (count.fetch_add(1) == 0) at.store(std::chrono::steady_clock::now().time_since_epoch().count());
    }
    std::atomic<int> count{0};
    std::atomic<std::chrono::steady_clock::rep> at{0};
};

}  // namespace

void expectClipEndsInRealTime() {
    RK::initAudioDevice();
    ASSERT_NE(RK::audioDevice(), nullptr);
    ASSERT_NE(RK::effectSourcePool(), nullptr);

    ScopedDir dir("realtime");
    const std::string path = dir.file("voice.ogg");
    ASSERT_TRUE(writeOggClip(path, {1, 22050, 6615}));  // 0.3 s
    {
        RK::OggPlayerIOS player;
        ASSERT_TRUE(player.load(path.c_str()));
        Finished finished;
        player.setListener(&finished);
        const auto start = std::chrono::steady_clock::now();
        player.play();
        for (int i = 0; i < 200 && finished.count.load() == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_EQ(finished.count.load(), 1);
        const auto end = std::chrono::steady_clock::time_point(std::chrono::steady_clock::duration(finished.at.load()));
        const double seconds = std::chrono::duration<double>(end - start).count();
        EXPECT_GE(seconds, 0.25);
        EXPECT_LE(seconds, 0.3 + 0.04 + 0.25);  // a worker period plus the device's own update slack
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        EXPECT_EQ(finished.count.load(), 1);
        player.setListener(nullptr);
    }
    RK::SoundCache::destroyShared();
    EXPECT_EQ(RK::audioDevice(), nullptr);
    EXPECT_FALSE(RK::StreamWorker::shared().running());
}

}  // namespace audiotest
