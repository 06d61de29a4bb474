// Sixteen looping streamed players on a real device (OpenAL Soft's silent
// null backend unless ALSOFT_DRIVERS / ALSOFT_CONF say otherwise) for ten
// seconds: the worker thread's CPU time as a share of one core, and the
// underruns it had to repair. The baseline is the CPU time a bare ov_read
// loop needs to decode the same amount of audio, measured in the same run.
#include <sys/resource.h>
#include <vorbis/vorbisfile.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "audio/AudioDevice.h"
#include "audio/OggPlayerIOS.h"
#include "audio/SoundCache.h"
#include "audio/StreamWorker.h"
#include "tests/audio/support/TestClips.h"

namespace {

double threadCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// CPU seconds to decode `seconds` of the clip with nothing but vorbisfile.
double bareDecodeCpu(const std::string& path, double seconds) {
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0) return -1;
    const vorbis_info* info = ov_info(&file, -1);
    const long wanted = static_cast<long>(seconds * info->rate) * 2 * info->channels;
    char block[4096];
    long total = 0;
    int bitstream = 0;
    const double start = threadCpuSeconds();
    while (total < wanted) {
        const long got = ov_read(&file, block, sizeof block, 0, 2, 1, &bitstream);
        if (got == 0) {
            ov_time_seek(&file, 0.0);
            continue;
        }
        if (got > 0) total += got;
    }
    const double used = threadCpuSeconds() - start;
    ov_clear(&file);
    return used;
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    constexpr int kPlayers = 16;
    if (!std::getenv("ALSOFT_DRIVERS") && !std::getenv("ALSOFT_CONF")) setenv("ALSOFT_DRIVERS", "null", 1);

    audiotest::ScopedDir dir("bench-stream");
    std::vector<std::string> paths;
    for (int i = 0; i < 4; ++i) {
        // Mono and stereo at both rates, 3.1 s to 3.4 s long, so wraps fall everywhere.
        paths.push_back(dir.file("loop" + std::to_string(i) + ".ogg"));
        const int channels = 1 + i % 2, rate = i < 2 ? 44100 : 22050;
        if (!audiotest::writeOggClip(paths.back(), {channels, rate, rate * (31 + i) / 10})) return 1;
    }

    RK::initAudioDevice();
    if (!RK::audioDevice()) {
        std::fprintf(stderr, "no device\n");
        return 1;
    }
    std::vector<std::unique_ptr<RK::OggPlayerIOS>> players;
    for (int i = 0; i < kPlayers; ++i) {
        auto player = std::make_unique<RK::OggPlayerIOS>();
        player->setLoop(true);
        if (!player->load(paths[i % paths.size()].c_str())) return 1;
        player->setVolume(0.05f);
        players.push_back(std::move(player));
    }
    RK::StreamWorker& worker = RK::StreamWorker::shared();
    const auto underrunsBefore = worker.underruns();
    for (auto& player : players) player->play();
    const auto cpuBefore = worker.cpuNanoseconds();
    const auto wallStart = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const double workerCpu = static_cast<double>(worker.cpuNanoseconds() - cpuBefore) * 1e-9;
    const auto underruns = worker.underruns() - underrunsBefore;
    int playing = 0;
    for (auto& player : players) playing += player->isPlaying();
    players.clear();
    RK::SoundCache::destroyShared();

    // The same audio decoded by vorbisfile alone: 16 players' worth.
    double bare = 0;
    for (int i = 0; i < kPlayers; ++i) bare += bareDecodeCpu(paths[i % paths.size()], seconds);

    std::printf("%d looping players for %.2f s wall, %d still playing at the end\n", kPlayers, wall, playing);
    std::printf("worker CPU %.3f s; bare decode of the same audio %.3f s CPU; worker/bare %.2f x\n", workerCpu,
                bare, bare > 0 ? workerCpu / bare : 0.0);
    std::printf("RESULT stream_worker_cpu_percent %.3f %%\n", 100.0 * workerCpu / wall);
    std::printf("RESULT stream_worker_underruns %llu count\n", static_cast<unsigned long long>(underruns));
    return 0;
}
