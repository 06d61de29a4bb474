#include "audio/SoundCache.h"

#include <AL/al.h>
#include <sys/stat.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "audio/AudioDevice.h"
#include "audio/BGMusicIOS.h"
#include "audio/OggPlayerIOS.h"
#include "audio/SEffectIOS.h"
#include "audio/SearchPaths.h"
#include "audio/StreamWorker.h"
#include "platform/Log.h"
#include "tests/audio/support/AudioHome.h"

namespace {

using audiotest::Clip;

class SoundCacheTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(env_.audio->ok()); }
    RK::SoundCache& cache() { return *RK::SoundCache::shared(); }
    // Each test uses its own names: resolved paths are remembered per process.
    std::string name(const std::string& base) const {
        return std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" + base;
    }
    audiotest::AudioHome env_;
};

TEST_F(SoundCacheTest, SearchListIsBundleDocumentsCachesTemporary) {
    const auto& list = RK::searchPaths();
    ASSERT_EQ(list.size(), 4u);
    const std::string expected[] = {env_.bundle.path, env_.backend->directories().documents(),
                                    env_.backend->directories().caches(), env_.backend->directories().temporary()};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list[i].id, i);
        EXPECT_EQ(list[i].weight, 30 * (i + 1));
        EXPECT_EQ(list[i].directory, expected[i]);
        EXPECT_NE(list[i].directory.back(), '/');
    }
    RK::initSearchPaths();  // rebuilt, not appended
    EXPECT_EQ(RK::searchPaths().size(), 4u);
}

TEST_F(SoundCacheTest, ResolvePathOrderAndMemory) {
    const std::string both = name("both.ogg"), docs = name("docs.ogg"), late = name("late.ogg");
    std::filesystem::create_directories(env_.backend->directories().caches());
    for (const std::string& path : {env_.bundleFile(both), env_.documentsFile(both), env_.documentsFile(docs),
                                    env_.cachesFile(docs)})
        std::ofstream(path) << "x";
    EXPECT_EQ(RK::resolvePath(both.c_str()), env_.bundleFile(both));
    EXPECT_EQ(RK::resolvePath(docs.c_str()), env_.documentsFile(docs));
    // The first answer sticks, even when the bundle copy goes away.
    std::filesystem::remove(env_.bundleFile(both));
    EXPECT_EQ(RK::resolvePath(both.c_str()), env_.bundleFile(both));
    // Not found is not remembered.
    EXPECT_EQ(RK::resolvePath(late.c_str()), "");
    std::ofstream(env_.cachesFile(late)) << "x";
    EXPECT_EQ(RK::resolvePath(late.c_str()), env_.cachesFile(late));
    // Absolute names are used as they are, existing or not.
    EXPECT_EQ(RK::resolvePath("/no/such/file.ogg"), "/no/such/file.ogg");
    EXPECT_EQ(RK::resolvePath(""), "");
    EXPECT_EQ(RK::resolvePath(nullptr), "");
}

TEST_F(SoundCacheTest, NamesThatClimbOutOfTheSearchDirectoriesAreRefused) {
    std::filesystem::create_directories(env_.bundle.path + "/voice");
    std::ofstream(env_.bundle.path + "/voice/" + name("a.ogg")) << "x";
    const std::string inside = "voice/" + name("a.ogg");
    EXPECT_EQ(RK::resolvePath(inside.c_str()), env_.bundle.path + "/" + inside);
    platform::LogCapture log;
    const std::string outside = "../" + std::filesystem::path(env_.bundle.path).filename().string() + "/" + inside;
    EXPECT_EQ(RK::resolvePath(outside.c_str()), "");
    EXPECT_TRUE(log.contains("refusing"));
    EXPECT_FALSE(RK::fileExists(outside.c_str()));
}

TEST_F(SoundCacheTest, FileExistsAbsoluteAndBundleRelative) {
    std::filesystem::create_directories(env_.bundle.path + "/se");
    std::ofstream(env_.bundle.path + "/se/click.wav") << "x";
    struct Case {
        std::string path;
        bool exists;
    } cases[] = {
        {env_.bundle.path + "/se/click.wav", true},
        {env_.bundle.path + "/se/none.wav", false},
        {"se/click.wav", true},
        {"click.wav", false},
        {"se/", false},
        {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(RK::fileExists(c.path.c_str()), c.exists) << c.path;
    EXPECT_FALSE(RK::fileExists(nullptr));
}

TEST_F(SoundCacheTest, MusicIsMadeOncePerNameAndChosenBySuffix) {
    const std::string ogg = name("voice.OGG"), wav = name("music.wav");
    ASSERT_TRUE(audiotest::writeOggClip(env_.bundleFile(ogg), {1, 44100, 4000}));
    ASSERT_TRUE(audiotest::writeWavClip(env_.documentsFile(wav), {2, 22050, 4000}));
    RK::BGMusic* voice = cache().getMusic(ogg.c_str());
    ASSERT_NE(voice, nullptr);
    EXPECT_NE(dynamic_cast<RK::OggPlayerIOS*>(voice), nullptr);
    RK::BGMusic* music = cache().getMusic(wav.c_str());
    ASSERT_NE(music, nullptr);
    EXPECT_NE(dynamic_cast<RK::BGMusicIOS*>(music), nullptr);
    // A second request needs no file at all.
    std::filesystem::remove(env_.bundleFile(ogg));
    EXPECT_EQ(cache().getMusic(ogg.c_str()), voice);
    EXPECT_EQ(cache().getMusic(wav.c_str()), music);
}

TEST_F(SoundCacheTest, FailedLoadsAreNotRemembered) {
    const std::string later = name("later.ogg");
    EXPECT_EQ(cache().getMusic(later.c_str()), nullptr);
    EXPECT_EQ(cache().getEffect(later.c_str()), nullptr);
    EXPECT_EQ(cache().getMusic("/absent/abs.ogg"), nullptr);
    EXPECT_EQ(cache().getMusic(""), nullptr);
    EXPECT_EQ(RK::StreamWorker::shared().activeCount(), 0u);
    ASSERT_TRUE(audiotest::writeOggClip(env_.cachesFile(later), {2, 44100, 3000}));
    EXPECT_NE(cache().getMusic(later.c_str()), nullptr);
    EXPECT_NE(cache().getEffect(later.c_str()), nullptr);
}

// Every way a name reaches a file (streamed Ogg music, whole Ogg and
// libsndfile effects, system-player music) opens only regular files: a FIFO
// would block the open for good, a device read without end.
TEST_F(SoundCacheTest, NamesOfDirectoriesFifosAndDevicesLoadNothing) {
    const std::string fifoOgg = name("pipe.ogg"), fifoWav = name("pipe.wav"), dirOgg = name("dir.ogg");
    ASSERT_EQ(::mkfifo(env_.bundleFile(fifoOgg).c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(env_.bundleFile(fifoWav).c_str(), 0600), 0);
    std::filesystem::create_directories(env_.bundleFile(dirOgg));
    for (const std::string& n : {fifoOgg, fifoWav, dirOgg, std::string("/dev/zero"), std::string(".")}) {
        platform::LogCapture log;
        EXPECT_EQ(cache().getMusic(n.c_str()), nullptr) << n;
        EXPECT_EQ(cache().getEffect(n.c_str()), nullptr) << n;
        EXPECT_TRUE(log.contains("not a regular file")) << n << ": " << log.text();
    }
}

TEST_F(SoundCacheTest, MusicVolumeReachesEveryPlayer) {
    const std::string a = name("a.ogg"), b = name("b.ogg");
    ASSERT_TRUE(audiotest::writeOggClip(env_.bundleFile(a), {1, 44100, 3000}));
    ASSERT_TRUE(audiotest::writeOggClip(env_.bundleFile(b), {2, 22050, 3000}));
    auto* first = dynamic_cast<RK::OggPlayerIOS*>(cache().getMusic(a.c_str()));
    auto* second = dynamic_cast<RK::OggPlayerIOS*>(cache().getMusic(b.c_str()));
    ASSERT_TRUE(first && second);
    cache().setMusicVolume(0.3f);
    for (auto* player : {first, second}) {
        ALfloat gain = 0;
        alGetSourcef(player->sourceName(), AL_GAIN, &gain);
        EXPECT_FLOAT_EQ(gain, 0.3f);
    }
}

TEST_F(SoundCacheTest, EnableMaskGatesEffectsAndSystemMusic) {
    const std::string se = name("se.wav"), bgm = name("bgm.wav"), ogg = name("v.ogg");
    ASSERT_TRUE(audiotest::writeWavClip(env_.bundleFile(se), {1, 44100, 4410}));
    ASSERT_TRUE(audiotest::writeWavClip(env_.bundleFile(bgm), {2, 44100, 44100}));
    ASSERT_TRUE(audiotest::writeOggClip(env_.bundleFile(ogg), {1, 44100, 44100}));
    EXPECT_EQ(cache().enableMask.load(), 3);
    RK::SEffect* effect = cache().getEffect(se.c_str());
    RK::BGMusic* music = cache().getMusic(bgm.c_str());
    RK::BGMusic* voice = cache().getMusic(ogg.c_str());
    ASSERT_TRUE(effect && music && voice);
    cache().enableMask = 0;
    EXPECT_EQ(effect->play(0, 1.0f), -1);
    music->play();
    EXPECT_FALSE(music->isPlaying());
    voice->play();  // the streaming player does not consult the mask
    EXPECT_TRUE(voice->isPlaying());
    cache().enableMask = 3;
    EXPECT_EQ(effect->play(0, 1.0f), 0);
    music->play();
    EXPECT_TRUE(music->isPlaying());
}

// Tearing the cache down while streams play: worker stopped, players and
// effects gone, device closed, no OpenAL error on the way.
TEST_F(SoundCacheTest, TeardownWhilePlaying) {
    const std::string a = name("loop.ogg"), se = name("se.ogg");
    ASSERT_TRUE(audiotest::writeOggClip(env_.bundleFile(a), {2, 44100, 50000}));
    ASSERT_TRUE(audiotest::writeOggClip(env_.bundleFile(se), {1, 22050, 20000}));
    RK::BGMusic* music = cache().getMusic(a.c_str());
    RK::SEffect* effect = cache().getEffect(se.c_str());
    ASSERT_TRUE(music && effect);
    music->setLoop(true);
    music->play();
    effect->play(1, 1.0f);
    env_.audio->run(0.2);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
    RK::SoundCache::destroyShared();
    EXPECT_EQ(RK::StreamWorker::shared().activeCount(), 0u);
    EXPECT_EQ(RK::StreamWorker::shared().retiredCount(), 0u);
    EXPECT_FALSE(RK::StreamWorker::shared().running());
    EXPECT_EQ(RK::audioDevice(), nullptr);
    EXPECT_EQ(RK::effectSourcePool(), nullptr);
}

}  // namespace
