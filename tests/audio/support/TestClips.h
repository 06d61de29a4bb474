#pragma once
// Generates the clips the audio tests play: Ogg Vorbis through libvorbisenc
// (fixed stream serial, so a clip is byte-identical run to run) and WAV
// through libsndfile.
#include <string>

namespace audiotest {

struct Clip {
    int channels = 1;
    int rate = 44100;
    long frames = 44100;
    double frequency = 441.0;  // a sine: no run of silence anywhere
    float amplitude = 0.5f;    // of full scale
};

bool writeOggClip(const std::string& path, const Clip& clip);
bool writeWavClip(const std::string& path, const Clip& clip);

// A fresh directory under the system temp dir, removed by the caller's
// ScopedDir (or kept to look at when a test fails).
std::string makeTempDir(const std::string& tag);
void removeTree(const std::string& path);

struct ScopedDir {
    explicit ScopedDir(const std::string& tag) : path(makeTempDir(tag)) {}
    ~ScopedDir() { removeTree(path); }
    ScopedDir(const ScopedDir&) = delete;
    ScopedDir& operator=(const ScopedDir&) = delete;
    std::string file(const std::string& name) const { return path + "/" + name; }
    std::string path;
};

}  // namespace audiotest
