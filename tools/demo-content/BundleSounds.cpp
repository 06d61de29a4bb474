#include "tools/demo-content/BundleSounds.h"

#include "tools/demo-content/OggEncoder.h"


#include <algorithm>
#include <cmath>

namespace democontent {
namespace {

constexpr double kRate = kBundleSoundRate;

std::vector<float> silence(double seconds) { return std::vector<float>(static_cast<size_t>(seconds * kRate), 0.0f); }

// A bell-like strike: a few inharmonic partials, each decaying on its own.
void addStrike(std::vector<float>& out, double at, double pitch, double level) {
    const double partials[][3] = {{1.0, 1.0, 2.2}, {2.76, 0.45, 3.5}, {5.4, 0.25, 5.0}, {8.9, 0.12, 7.0}};
    const size_t start = static_cast<size_t>(at * kRate);
    for (size_t i = start; i < out.size(); ++i) {
        const double t = (i - start) / kRate;
        const double attack = std::min(1.0, t * 400.0);
        double v = 0;
        for (const auto& p : partials) v += p[1] * std::exp(-t * p[2]) * std::sin(2 * M_PI * pitch * p[0] * t);
        out[i] += static_cast<float>(level * attack * v);
    }
}

std::vector<float> logoChime(int variant) {
    // Three rising figures in one key, one per variant.
    static const double figures[3][3] = {{523.25, 659.25, 783.99}, {587.33, 739.99, 880.0}, {659.25, 830.61, 987.77}};
    std::vector<float> out = silence(2.2);
    for (int n = 0; n < 3; ++n) addStrike(out, 0.05 + n * 0.28, figures[variant][n], 0.22);
    return out;
}

// A second-order resonator (a formant) over an input sample.
struct Resonator {
    double a1 = 0, a2 = 0, gain = 0, y1 = 0, y2 = 0;
    void tune(double frequency, double bandwidth) {
        const double r = std::exp(-M_PI * bandwidth / kRate);
        a1 = 2 * r * std::cos(2 * M_PI * frequency / kRate);
        a2 = -r * r;
        gain = 1 - r;
    }
    double run(double x) {
        const double y = gain * x + a1 * y1 + a2 * y2;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// A voice-like line: a buzzing source with a gliding pitch, shaped by two
// moving formants into vowel-like syllables.
std::vector<float> voiceLine(int variant) {
    static const double vowels[][2] = {{800, 1200}, {400, 2000}, {300, 2300}, {500, 900}, {650, 1700}};
    const int syllables = 3 + variant % 3;
    const double syllableSeconds = 0.24;
    const double basePitch = 230.0 + 18.0 * variant;
    std::vector<float> out = silence(0.1 + syllables * syllableSeconds + 0.25);
    Resonator f1, f2;
    double phase = 0;
    const size_t start = static_cast<size_t>(0.1 * kRate);
    const size_t voiced = static_cast<size_t>(syllables * syllableSeconds * kRate);
    for (size_t i = 0; i < voiced; ++i) {
        const double t = i / kRate;
        const int s = static_cast<int>(t / syllableSeconds);
        const double within = t / syllableSeconds - s;
        // Rises on the first syllables, falls at the end of the line.
        const double contour = 1.0 + 0.12 * std::sin(M_PI * t / (syllables * syllableSeconds) * (1 + variant % 2)) -
                               0.15 * std::max(0.0, t / (syllables * syllableSeconds) - 0.7);
        phase += basePitch * contour / kRate;
        phase -= std::floor(phase);
        const double source = 2 * phase - 1;  // a bright sawtooth buzz
        const auto& v = vowels[(s * 2 + variant) % 5];
        f1.tune(v[0], 90);
        f2.tune(v[1], 140);
        const double envelope = std::pow(std::sin(M_PI * within), 0.6);
        const double sample = (f1.run(source) * 1.0 + f2.run(source) * 0.6) * envelope;
        out[start + i] = static_cast<float>(sample);
    }
    // Loud enough to hear, with headroom left for the encoder.
    float peak = 0;
    for (float x : out) peak = std::max(peak, std::fabs(x));
    if (peak > 0) {
        for (float& x : out) x *= 0.6f / peak;
    }
    return out;
}

// Four bars of soft arpeggios whose notes all die away inside the loop, and
// whose partials are whole cycles of it, so the wrap is seamless.
std::vector<float> titleMusic() {
    const double loopSeconds = 8.0;
    std::vector<float> out = silence(loopSeconds);
    static const double chords[4][3] = {{261.63, 329.63, 392.0}, {220.0, 261.63, 329.63},
                                        {174.61, 220.0, 261.63}, {196.0, 246.94, 293.66}};
    const double noteSeconds = loopSeconds / 16;
    for (int n = 0; n < 16; ++n) {
        const double pitch = std::round(chords[n / 4][n % 3] * loopSeconds) / loopSeconds;
        const size_t start = static_cast<size_t>(n * noteSeconds * kRate);
        const size_t length = static_cast<size_t>(noteSeconds * kRate);
        for (size_t i = 0; i < length; ++i) {
            const double t = i / kRate;
            const double envelope = std::min(1.0, t * 80.0) * std::exp(-t * 5.0) * (1.0 - static_cast<double>(i) / length);
            const double at = (start + i) / kRate;
            out[start + i] += static_cast<float>(0.3 * envelope * std::sin(2 * M_PI * pitch * at));
        }
    }
    // A quiet pad under it all, continuous across the wrap.
    for (size_t i = 0; i < out.size(); ++i) out[i] += static_cast<float>(0.05 * std::sin(2 * M_PI * 131.0 * (i / kRate)));
    return out;
}

std::vector<float> effectBlip() {
    std::vector<float> out = silence(0.18);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = i / kRate;
        const double pitch = 1200.0 + 2500.0 * t;
        out[i] = static_cast<float>(0.4 * std::min(1.0, t * 500.0) * std::exp(-t * 22.0) * std::sin(2 * M_PI * pitch * t));
    }
    return out;
}

}  // namespace

std::vector<BundleSound> bundleSounds() {
    std::vector<BundleSound> sounds;
    for (int i = 0; i < 3; ++i) sounds.push_back({"tarvel_" + std::to_string(i + 1) + ".ogg", logoChime(i)});
    for (int i = 0; i < 6; ++i) sounds.push_back({"title_" + std::to_string(i + 1) + ".ogg", voiceLine(i)});
    sounds.push_back({"bgm_01.ogg", titleMusic()});
    sounds.push_back({"se_01.ogg", effectBlip()});
    return sounds;
}

std::string encodeMonoOgg(const std::vector<float>& samples, int rate, int serial) {
    return encodeOgg(samples, 1, rate, 0.4f, serial);
}

}  // namespace democontent
