#include "audio/BGMusicIOS.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "audio/AudioFileDecoder.h"
#include "audio/SoundCache.h"
#include "platform/AudioSession.h"
#include "platform/Log.h"
#include "tests/audio/support/AudioHome.h"

namespace {

class RecordingListener : public RK::BGMusic::EventListener {
public:
    void onFinished(RK::BGMusic* music) override {
        ++count;
        last = music;
    }
    int count = 0;
    RK::BGMusic* last = nullptr;
};

// Stands in for the system player: records what reaches it and decodes nothing.
class RecordingSystemAudio : public platform::SystemAudio {
public:
    std::unique_ptr<platform::SystemAudioPlayer> createPlayer(std::vector<unsigned char> data,
                                                              std::string& error) override {
        ++calls;
        received = std::move(data);
        error = "not decoded here";
        return nullptr;
    }
    int calls = 0;
    std::vector<unsigned char> received;
};

class BGMusicIOSTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(env_.audio->ok()); }
    std::unique_ptr<RK::BGMusicIOS> load(const audiotest::Clip& clip) {
        const std::string path = env_.bundleFile("music" + std::to_string(++files_) + ".wav");
        EXPECT_TRUE(audiotest::writeWavClip(path, clip));
        auto music = std::make_unique<RK::BGMusicIOS>();
        EXPECT_TRUE(music->load(path.c_str()));
        return music;
    }
    audiotest::AudioHome env_;
    int files_ = 0;
};

TEST_F(BGMusicIOSTest, PlayOnceReportsEveryCompleteRun) {
    auto music = load({2, 44100, 4410});  // 0.1 s
    RecordingListener listener;
    music->setListener(&listener);
    music->setLoop(false);
    music->play();
    EXPECT_TRUE(music->isPlaying());
    EXPECT_TRUE(env_.mixUntil([&] { return listener.count == 1; }, 1.0));
    EXPECT_EQ(listener.last, music.get());
    EXPECT_FALSE(music->isPlaying());
    music->play();
    EXPECT_TRUE(env_.mixUntil([&] { return listener.count == 2; }, 1.0));
    env_.mixUntil([] { return false; }, 0.1);
    EXPECT_EQ(listener.count, 2);
}

TEST_F(BGMusicIOSTest, LoopingMusicNeverFinishes) {
    auto music = load({1, 44100, 2205});
    RecordingListener listener;
    music->setListener(&listener);
    music->setLoop(true);
    EXPECT_EQ(music->player()->numberOfLoops(), -1);
    music->play();
    env_.mixUntil([] { return false; }, 0.3);
    EXPECT_EQ(listener.count, 0);
    EXPECT_TRUE(music->isPlaying());
    music->setLoop(false);
    EXPECT_EQ(music->player()->numberOfLoops(), 0);
}

TEST_F(BGMusicIOSTest, StopRewindsPauseKeepsThePlace) {
    auto music = load({1, 44100, 44100});
    music->play();
    env_.mixUntil([] { return false; }, 0.2);
    music->pause();
    const double paused = music->player()->currentTime();
    EXPECT_GT(paused, 0.1);
    EXPECT_FALSE(music->isPlaying());
    music->play();
    EXPECT_GE(music->player()->currentTime(), paused - 0.01);
    music->stop();
    EXPECT_FALSE(music->isPlaying());
    EXPECT_DOUBLE_EQ(music->player()->currentTime(), 0.0);
    music->play();
    EXPECT_LT(music->player()->currentTime(), 0.05);
}

TEST_F(BGMusicIOSTest, OnlySuccessfulFinishesWithAListenerReport) {
    auto music = load({1, 44100, 1000});
    RK::RKBGMusicIOSDelegate delegate;
    delegate.setObserver(music.get());
    RecordingListener listener;
    delegate.audioPlayerDidFinishPlaying(*music->player(), true);  // no listener yet: nothing
    music->setListener(&listener);
    delegate.audioPlayerDidFinishPlaying(*music->player(), false);
    EXPECT_EQ(listener.count, 0);
    delegate.audioPlayerDidFinishPlaying(*music->player(), true);
    EXPECT_EQ(listener.count, 1);
    delegate.setObserver(nullptr);
    delegate.audioPlayerDidFinishPlaying(*music->player(), true);
    EXPECT_EQ(listener.count, 1);
}

TEST_F(BGMusicIOSTest, VolumeIsClamped) {
    auto music = load({1, 44100, 1000});
    struct Case {
        float in, out;
    } cases[] = {{1.7f, 1.0f}, {-0.2f, 0.0f}, {0.6f, 0.6f}};
    for (const Case& c : cases) {
        music->setVolume(c.in);
        EXPECT_FLOAT_EQ(music->player()->volume(), c.out);
    }
}

TEST_F(BGMusicIOSTest, LoadFailuresLogTheirReason) {
    const std::string garbage = env_.bundleFile("garbage.m4a");
    std::ofstream(garbage) << "not audio at all";
    struct Case {
        std::string path;
    } cases[] = {{env_.bundleFile("absent.mp3")}, {garbage}, {""}};
    for (const Case& c : cases) {
        platform::LogCapture log;
        RK::BGMusicIOS music;
        EXPECT_FALSE(music.load(c.path.c_str()));
        EXPECT_TRUE(log.contains("LoadError(" + c.path + ") ")) << log.text();
        EXPECT_EQ(music.player(), nullptr);
        music.play();  // harmless
        EXPECT_FALSE(music.isPlaying());
    }
}

// A page may name any path. Directories, devices, FIFOs and files past the
// decoder's limit fail like any file that does not load, without being read:
// no exception, no endless read of /dev/zero, no open blocking on a FIFO.
TEST_F(BGMusicIOSTest, OnlyRegularFilesWithinTheLimitAreRead) {
    const std::string fifo = env_.bundleFile("pipe.mp3");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string huge = env_.bundleFile("huge.wav");
    {
        const int fd = ::open(huge.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, RK::kMaxAudioFileBytes + 1), 0);  // sparse: costs no disk
        ::close(fd);
    }
    const std::string small = env_.bundleFile("small.m4a");
    std::ofstream(small, std::ios::binary) << std::string(70000, 'a') << "end";
    struct Case {
        std::string path;
        std::string reason;
    } cases[] = {
        {env_.bundle.path, "not a regular file"},
        {env_.bundle.path + "/.", "not a regular file"},
        {"/dev/zero", "not a regular file"},
        {fifo, "not a regular file"},
        {huge, "too large"},
    };
    for (const Case& c : cases) {
        platform::LogCapture log;
        RecordingSystemAudio audio;
        RK::BGMusicIOS music(&audio);
        EXPECT_FALSE(music.load(c.path.c_str())) << c.path;
        EXPECT_TRUE(log.contains("LoadError(" + c.path + ") ")) << log.text();
        EXPECT_TRUE(log.contains(c.reason)) << log.text();
        EXPECT_EQ(audio.calls, 0) << c.path;
        EXPECT_EQ(music.player(), nullptr);
    }
    // A regular file reaches the player whole, across several reads.
    RecordingSystemAudio audio;
    RK::BGMusicIOS music(&audio);
    EXPECT_FALSE(music.load(small.c_str()));
    ASSERT_EQ(audio.calls, 1);
    EXPECT_EQ(std::string(audio.received.begin(), audio.received.end()), std::string(70000, 'a') + "end");
}

TEST_F(BGMusicIOSTest, AudioSessionKeepsItsCategory) {
    platform::AudioSession* session = env_.backend->audioSession();
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(session->category(), platform::AudioSession::Category::SoloAmbient);
    EXPECT_TRUE(session->setCategory(platform::AudioSession::Category::Ambient));
    EXPECT_EQ(session->category(), platform::AudioSession::Category::Ambient);
}

}  // namespace
