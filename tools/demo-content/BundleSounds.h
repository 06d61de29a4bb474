#pragma once
// The sounds the title flow and the option view play from the bundle: maker
// logo chimes ("tarvel_1.ogg" ... "tarvel_3.ogg"), character voices as a
// synthesized voice-like contour ("title_1.ogg" ... "title_6.ogg"), a
// seamlessly looping title piece ("bgm_01.ogg") and a short effect
// ("se_01.ogg"). All original, made from oscillators; every file is byte for
// byte the same on every run (fixed stream serials, no randomness).
#include <string>
#include <vector>

namespace democontent {

struct BundleSound {
    std::string name;
    std::vector<float> samples;  // mono, kBundleSoundRate, -1 ... 1
};

inline constexpr int kBundleSoundRate = 22050;

std::vector<BundleSound> bundleSounds();

// Ogg Vorbis of mono samples with a fixed stream serial; empty on failure.
std::string encodeMonoOgg(const std::vector<float>& samples, int rate, int serial);

}  // namespace democontent
