// The bundle's generated sounds: every name the title flow and the option
// view ask for, audible, decodable by the client's own decoder, and a title
// piece that wraps without a click or a gap.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <set>

#include "audio/OggDecoder.h"
#include "tests/audio/support/TestClips.h"
#include "tools/demo-content/BundleSounds.h"

namespace {

TEST(BundleSounds, EveryNameTheClientPlaysIsThereAndAudible) {
    std::set<std::string> names;
    for (const auto& sound : democontent::bundleSounds()) {
        names.insert(sound.name);
        float peak = 0;
        for (float x : sound.samples) peak = std::max(peak, std::fabs(x));
        EXPECT_GT(peak, 0.2f) << sound.name;
        EXPECT_LT(peak, 0.95f) << sound.name;
    }
    const std::set<std::string> wanted = {"tarvel_1.ogg", "tarvel_2.ogg", "tarvel_3.ogg", "title_1.ogg",
                                          "title_2.ogg",  "title_3.ogg",  "title_4.ogg",  "title_5.ogg",
                                          "title_6.ogg",  "bgm_01.ogg",   "se_01.ogg"};
    EXPECT_EQ(names, wanted);
}

TEST(BundleSounds, TitleMusicWrapsSeamlessly) {
    for (const auto& sound : democontent::bundleSounds()) {
        if (sound.name != "bgm_01.ogg") continue;
        const auto& s = sound.samples;
        ASSERT_GT(s.size(), 2u);
        // The step across the wrap is no larger than the steps inside.
        float largestStep = 0;
        for (size_t i = 1; i < s.size(); ++i) largestStep = std::max(largestStep, std::fabs(s[i] - s[i - 1]));
        EXPECT_LE(std::fabs(s.front() - s.back()), largestStep);
        long quiet = 0, longest = 0;
        for (float x : s) {
            quiet = std::fabs(x) < 0.005f ? quiet + 1 : 0;
            longest = std::max(longest, quiet);
        }
        EXPECT_LT(longest, democontent::kBundleSoundRate / 100) << "a gap in the music";
        return;
    }
    FAIL() << "no title music";
}

TEST(BundleSounds, EncodedFilesDecodeToTheirLengthAndAreReproducible) {
    audiotest::ScopedDir dir("bundle-sounds");
    int serial = 100;
    for (const auto& sound : democontent::bundleSounds()) {
        const std::string ogg = democontent::encodeMonoOgg(sound.samples, democontent::kBundleSoundRate, ++serial);
        ASSERT_FALSE(ogg.empty()) << sound.name;
        EXPECT_EQ(ogg, democontent::encodeMonoOgg(sound.samples, democontent::kBundleSoundRate, serial)) << sound.name;
        const std::string path = dir.file(sound.name);
        std::ofstream(path, std::ios::binary) << ogg;
        int size = 0, rate = 0;
        ALenum format = 0;
        char* pcm = RK::decodeOggFile(path.c_str(), &size, &format, &rate);
        ASSERT_NE(pcm, nullptr) << sound.name;
        std::free(pcm);
        EXPECT_EQ(rate, democontent::kBundleSoundRate);
        EXPECT_EQ(format, AL_FORMAT_MONO16);
        EXPECT_EQ(static_cast<size_t>(size), sound.samples.size() * 2) << sound.name;
    }
}

}  // namespace
