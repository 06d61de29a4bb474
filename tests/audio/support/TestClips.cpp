#include "tests/audio/support/TestClips.h"

#include "tools/demo-content/OggEncoder.h"

#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace audiotest {
namespace {

float sampleAt(const Clip& clip, long frame, int channel) {
    const double phase = 2.0 * M_PI * clip.frequency * static_cast<double>(frame) / clip.rate;
    // The second channel is a quarter period ahead so the two are told apart.
    return clip.amplitude * static_cast<float>(std::sin(phase + channel * M_PI / 2));
}

}  // namespace

bool writeOggClip(const std::string& path, const Clip& clip) {
    std::vector<float> samples(static_cast<size_t>(clip.frames) * clip.channels);
    for (long f = 0; f < clip.frames; ++f)
        for (int c = 0; c < clip.channels; ++c)
            samples[static_cast<size_t>(f) * clip.channels + c] = sampleAt(clip, f, c);
    const std::string ogg = democontent::encodeOgg(samples, clip.channels, clip.rate, 0.5f, 1234);
    if (ogg.empty()) return false;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    const bool wrote = std::fwrite(ogg.data(), 1, ogg.size(), out) == ogg.size();
    return std::fclose(out) == 0 && wrote;
}

bool writeWavClip(const std::string& path, const Clip& clip) {
    SF_INFO info{};
    info.samplerate = clip.rate;
    info.channels = clip.channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    std::vector<short> samples(static_cast<size_t>(clip.frames) * clip.channels);
    for (long f = 0; f < clip.frames; ++f)
        for (int c = 0; c < clip.channels; ++c)
            samples[static_cast<size_t>(f) * clip.channels + c] =
                static_cast<short>(std::lround(sampleAt(clip, f, c) * 32767.0f));
    const sf_count_t done = sf_writef_short(file, samples.data(), clip.frames);
    return sf_close(file) == 0 && done == clip.frames;
}

std::string makeTempDir(const std::string& tag) {
    std::string pattern = (std::filesystem::temp_directory_path() / ("pelora-" + tag + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) return {};
    return pattern;
}

void removeTree(const std::string& path) {
    if (path.empty()) return;
    std::error_code error;
    std::filesystem::remove_all(path, error);
}

}  // namespace audiotest
