#include "audio/AudioFileDecoder.h"

#include <sndfile.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "audio/AudioFormat.h"
#include "audio/RegularFile.h"
#include "platform/Log.h"

namespace RK {
namespace {

constexpr sf_count_t kMaxBytes = kMaxAudioFileBytes;

// Reads every frame as 16-bit PCM. The frame count in the header may promise
// more than a damaged file holds: the size is what was actually read.
char* readAll(SNDFILE* file, const SF_INFO& info, const char* what, int* size) {
    if (info.channels <= 0 || info.samplerate <= 0 || info.frames < 0) {
        platform::log("decodeAudioFile: %s: no playable stream", what);
        return nullptr;
    }
    const sf_count_t bytesPerFrame = 2LL * info.channels;
    if (info.frames > kMaxBytes / bytesPerFrame) {
        platform::log("decodeAudioFile: %s: %lld frames is too long", what, static_cast<long long>(info.frames));
        return nullptr;
    }
    const sf_count_t bytes = info.frames * bytesPerFrame;
    char* block = static_cast<char*>(std::malloc(bytes > 0 ? static_cast<size_t>(bytes) : 1));
    if (!block) return nullptr;
    const sf_count_t frames = bytes > 0 ? sf_readf_short(file, reinterpret_cast<short*>(block), info.frames) : 0;
    if (frames <= 0) {
        platform::log("decodeAudioFile: %s: no samples", what);
        std::free(block);
        return nullptr;
    }
    *size = static_cast<int>(frames * bytesPerFrame);
    return block;
}

}  // namespace

char* decodeAudioFile(const char* path, int* size, ALenum* format, int* rate) {
    if (!path || !*path) return nullptr;
    std::string error;
    const int fd = openRegularFile(path, kMaxAudioFileBytes, error);
    if (fd < 0) {
        platform::log("decodeAudioFile: %s: %s", path, error.c_str());
        return nullptr;
    }
    SF_INFO info{};
    SNDFILE* file = sf_open_fd(fd, SFM_READ, &info, SF_FALSE);
    if (!file) {
        ::close(fd);
        return nullptr;
    }
    int bytes = 0;
    char* block = readAll(file, info, path, &bytes);
    sf_close(file);
    ::close(fd);
    if (!block) return nullptr;
    if (size) *size = bytes;
    if (format) *format = info.channels < 2 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    if (rate) *rate = info.samplerate;
    return block;
}

}  // namespace RK
