// Whole-file Ogg decode (decodeOggFile) against a bare vorbisfile ov_read
// loop over the same 60 s stereo clip, alternated in one run; the best
// thread CPU time of several rounds of each is compared.
#include <vorbis/vorbisfile.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "audio/OggDecoder.h"
#include "tests/audio/support/TestClips.h"

namespace {

// CPU time of this thread: the other processes sharing the machine do not
// count, page faults taken while storing the result do.
double cpuNow() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// The baseline: what the library alone costs to produce the same PCM.
long bareDecode(const std::string& path) {
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0) return -1;
    char block[4096];
    long total = 0;
    int bitstream = 0;
    for (;;) {
        const long got = ov_read(&file, block, sizeof block, 0, 2, 1, &bitstream);
        if (got == 0) break;
        if (got < 0) continue;
        total += got;
    }
    ov_clear(&file);
    return total;
}

long oursDecode(const std::string& path) {
    int size = 0, rate = 0;
    ALenum format = 0;
    char* block = RK::decodeOggFile(path.c_str(), &size, &format, &rate);
    if (!block) return -1;
    // Touch the result so the block cannot be optimised away.
    volatile char sink = block[size / 2];
    (void)sink;
    std::free(block);
    return size;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
    audiotest::ScopedDir dir("bench-ogg");
    const std::string path = dir.file("sixty.ogg");
    if (!audiotest::writeOggClip(path, {2, 44100, 60L * 44100, 441.0, 0.5f})) {
        std::fprintf(stderr, "could not write the clip\n");
        return 1;
    }
    double bestOurs = 1e9, bestBare = 1e9;
    long bytes = 0;
    for (int i = 0; i < rounds; ++i) {
        double start = cpuNow();
        const long bare = bareDecode(path);
        bestBare = std::min(bestBare, cpuNow() - start);
        start = cpuNow();
        const long ours = oursDecode(path);
        bestOurs = std::min(bestOurs, cpuNow() - start);
        if (bare != ours || ours <= 0) {
            std::fprintf(stderr, "decoders disagree: bare %ld bytes, ours %ld\n", bare, ours);
            return 1;
        }
        bytes = ours;
    }
    const double mb = static_cast<double>(bytes) / (1024.0 * 1024.0);
    std::printf("clip: 60 s stereo 44100 Hz, %.1f MiB of PCM, best of %d rounds\n", mb, rounds);
    std::printf("bare ov_read loop: %.1f ms CPU (%.1f MiB/s)\n", bestBare * 1e3, mb / bestBare);
    std::printf("decodeOggFile:     %.1f ms CPU (%.1f MiB/s)\n", bestOurs * 1e3, mb / bestOurs);
    std::printf("RESULT ogg_decode_ratio %.3f x\n", bestBare / bestOurs);
    return 0;
}
