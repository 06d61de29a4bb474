// Real-time output through OpenAL Soft's wave backend: the mix is written to
// a WAV file while the real stream worker keeps a looping piece fed, and the
// file must show no gap where the piece has none.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

#include "audio/AudioDevice.h"
#include "audio/OggPlayerIOS.h"
#include "audio/SoundCache.h"
#include "audio/StreamWorker.h"
#include "tests/audio/support/LoopbackAudio.h"
#include "tests/audio/support/TestClips.h"

namespace {

TEST(WaveDevice, LoopingPieceIsGaplessInRealTime) {
    audiotest::ScopedDir dir("wavedev");
    const std::string out = dir.file("out.wav");
    const std::string conf = dir.file("alsoft.conf");
    std::ofstream(conf) << "[general]\ndrivers=wave\nfrequency=44100\nchannels=stereo\nsample-type=int16\n"
                        << "[wave]\nfile=" << out << "\n";
    setenv("ALSOFT_CONF", conf.c_str(), 1);  // before the first ALC call

    RK::initAudioDevice();
    ASSERT_NE(RK::audioDevice(), nullptr);
    const std::string clip = dir.file("loop.ogg");
    ASSERT_TRUE(audiotest::writeOggClip(clip, {2, 44100, 15000}));  // wraps every 0.34 s
    const auto underrunsBefore = RK::StreamWorker::shared().underruns();
    {
        RK::OggPlayerIOS player;
        player.setLoop(true);
        ASSERT_TRUE(player.load(clip.c_str()));
        player.play();
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        EXPECT_TRUE(player.isPlaying());
    }
    EXPECT_EQ(RK::StreamWorker::shared().underruns(), underrunsBefore);
    RK::SoundCache::destroyShared();  // closes the device, which finishes the file

    SF_INFO info{};
    SNDFILE* file = sf_open(out.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(info.channels, 2);
    std::vector<short> mix(static_cast<size_t>(info.frames) * 2);
    const long frames = static_cast<long>(sf_readf_short(file, mix.data(), info.frames));
    sf_close(file);
    ASSERT_GT(frames, 44100);
    long first = 0;
    while (first < frames && std::abs(mix[2 * first]) < 200 && std::abs(mix[2 * first + 1]) < 200) ++first;
    long last = frames - 1;
    while (last > first && std::abs(mix[2 * last]) < 200 && std::abs(mix[2 * last + 1]) < 200) --last;
    ASSERT_GT(last - first, 44100) << "at least a second of sound";
    EXPECT_LT(audiotest::longestQuietRun(mix, first + 64, last - 64), 8);
}

}  // namespace
