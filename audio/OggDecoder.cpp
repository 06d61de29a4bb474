#include "audio/OggDecoder.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <string>

#include <unistd.h>

#include "audio/AudioFileDecoder.h"
#include "audio/AudioFormat.h"
#include "audio/RegularFile.h"
#include "platform/Log.h"

namespace RK {
namespace {

// The library's stdio callbacks, spelled out so the header's static copies
// need not be pulled into every file.
size_t readCallback(void* ptr, size_t size, size_t count, void* source) {
    return std::fread(ptr, size, count, static_cast<FILE*>(source));
}
int seekCallback(void* source, ogg_int64_t offset, int whence) {
    return fseeko(static_cast<FILE*>(source), static_cast<off_t>(offset), whence);
}
int closeCallback(void* source) { return std::fclose(static_cast<FILE*>(source)); }
long tellCallback(void* source) { return static_cast<long>(ftello(static_cast<FILE*>(source))); }

const ov_callbacks kStdioCallbacks = {readCallback, seekCallback, closeCallback, tellCallback};

// A damaged stream can report holes over and over; past this many reads in a
// row without data the stream is treated as ended rather than spun on.
constexpr int kMaxFailedReads = 64;

// The file at path as a stdio stream, or null (logged) when it is not a
// regular file within maxBytes.
FILE* openStdio(const char* path, long long maxBytes, const char* who) {
    std::string error;
    const int fd = openRegularFile(path, maxBytes, error);
    if (fd < 0) {
        platform::log("%s: %s: %s", who, path, error.c_str());
        return nullptr;
    }
    FILE* file = ::fdopen(fd, "rb");
    if (!file) ::close(fd);
    return file;
}

long readPcm(OggVorbis_File* file, char* destination, int length) {
    int bitstream = 0;
    return ov_read(file, destination, length, /*bigendianp=*/0, /*word=*/2, /*sgned=*/1, &bitstream);
}

}  // namespace

OggDecoder::OggDecoder() { std::memset(&file_, 0, sizeof file_); }

OggDecoder::~OggDecoder() {
    if (opened) ov_clear(&file_);
}

int OggDecoder::bufferBytesFor(int channels, int rate) {
    if (channels <= 0 || rate <= 0) return 0;
    const int raw = channels == 1 ? rate / 2 : rate;
    // A block must hold whole sample frames: ov_read never returns part of a
    // frame (a one-byte remainder would read as the end of the stream), and
    // OpenAL rejects data that is not a whole number of its own frames.
    const int streamFrame = 2 * channels;
    const int alFrame = channels == 1 ? 2 : 4;
    const int unit = std::lcm(streamFrame, alFrame);
    return raw / unit * unit;
}

int OggDecoder::openStream(FILE* file) {
    if (opened) {
        if (file) std::fclose(file);
        return OV_EINVAL;
    }
    if (!file) return -1;
    const int result = ov_open_callbacks(file, &file_, nullptr, 0, kStdioCallbacks);
    if (result != 0) {
        // On failure the library leaves the stream to the caller.
        std::fclose(file);
        std::memset(&file_, 0, sizeof file_);
        return result;
    }
    const vorbis_info* info = ov_info(&file_, -1);
    channels = info ? info->channels : 0;
    rate = info ? static_cast<int>(info->rate) : 0;
    bufferBytes = bufferBytesFor(channels, rate);
    opened = true;
    if (bufferBytes <= 0) {
        platform::log("OggDecoder: stream has %d channels at %d Hz, not playable", channels, rate);
        ov_clear(&file_);
        opened = false;
        return OV_EBADHEADER;
    }
    return 0;
}

int OggFileDecoder::open(const char* path) {
    if (!path || !*path) return -1;
    // Streams have no size limit: music is read a quarter second at a time.
    FILE* file = openStdio(path, 0, "OggDecoder");
    if (!file) return -1;
    return openStream(file);
}

int OggDecoder::fillBuffer(char* destination, bool loop, bool* endOfStream) {
    if (endOfStream) *endOfStream = false;
    if (!destination || bufferBytes <= 0) {
        if (endOfStream) *endOfStream = true;
        return 0;
    }
    std::memset(destination, 0, static_cast<size_t>(bufferBytes));
    if (!opened) {
        if (endOfStream) *endOfStream = true;
        return 0;
    }
    int filled = 0;
    int failedReads = 0;
    bool justWrapped = false;  // nothing read since the last seek to the start
    while (filled < bufferBytes) {
        const long got = readPcm(&file_, destination + filled, bufferBytes - filled);
        if (got > 0) {
            filled += static_cast<int>(got);
            failedReads = 0;
            justWrapped = false;
            continue;
        }
        if (got < 0) {
            // A hole skips ahead in the stream; anything else (a broken link,
            // a bad handle) will not get better by reading again.
            if (got == OV_HOLE && ++failedReads < kMaxFailedReads) continue;
            platform::log("OggDecoder: read failed (%ld), stream ends here", got);
        } else if (loop && !justWrapped && seekTime(0.0) == 0) {
            justWrapped = true;
            continue;
        }
        // End of a non-looping stream, an empty looping one, or a failure.
        if (endOfStream) *endOfStream = true;
        return filled;
    }
    return filled;
}

char* OggDecoder::allocBuffer(int* bytes, bool loop, bool* endOfStream) {
    if (bytes) *bytes = 0;
    if (bufferBytes <= 0) return nullptr;
    char* block = static_cast<char*>(std::malloc(static_cast<size_t>(bufferBytes)));
    if (!block) return nullptr;
    const int filled = fillBuffer(block, loop, endOfStream);
    if (bytes) *bytes = filled;
    return block;
}

int OggDecoder::seekTime(double seconds) {
    if (!opened) return OV_EINVAL;
    return ov_time_seek(&file_, seconds);
}

char* decodeOggStream(FILE* stream, int* size, ALenum* format, int* rate) {
    OggFileDecoder decoder;
    if (decoder.open(stream) != 0) return nullptr;
    OggVorbis_File* file = &decoder.file_;

    // Reserve the decoded size up front when the stream knows it, so the
    // block grows by reallocation only for streams that do not.
    size_t capacity = 1 << 16;
    const ogg_int64_t frames = ov_pcm_total(file, -1);
    if (frames > 0) {
        const long double want = static_cast<long double>(frames) * 2 * decoder.channels;
        if (want < static_cast<long double>(INT_MAX)) capacity = static_cast<size_t>(want) + 4096;
    }
    char* block = static_cast<char*>(std::malloc(capacity));
    if (!block) return nullptr;
    size_t used = 0;
    int failedReads = 0;
    for (;;) {
        if (capacity - used < 4096) {
            if (capacity >= static_cast<size_t>(INT_MAX) / 2) {
                platform::log("decodeOggFile: stream longer than %d bytes, cut there", INT_MAX / 2);
                break;
            }
            char* grown = static_cast<char*>(std::realloc(block, capacity * 2));
            if (!grown) break;
            block = grown;
            capacity *= 2;
        }
        const long got = readPcm(file, block + used, 4096);
        if (got == 0) break;
        if (got < 0) {
            // Never grow by a negative amount: skip holes, stop at real damage.
            if (got == OV_HOLE && ++failedReads < kMaxFailedReads) continue;
            platform::log("decodeOggFile: read failed (%ld), keeping %zu bytes", got, used);
            break;
        }
        failedReads = 0;
        used += static_cast<size_t>(got);
    }
    if (size) *size = static_cast<int>(used);
    if (format) *format = alFormatForChannels(decoder.channels);
    if (rate) *rate = decoder.rate;
    if (used == 0) {
        std::free(block);
        return nullptr;
    }
    if (capacity - used > 65536) {
        if (char* trimmed = static_cast<char*>(std::realloc(block, used))) block = trimmed;
    }
    return block;
}

char* decodeOggFile(const char* path, int* size, ALenum* format, int* rate) {
    if (!path || !*path) return nullptr;
    FILE* file = openStdio(path, kMaxAudioFileBytes, "decodeOggFile");
    if (!file) return nullptr;
    return decodeOggStream(file, size, format, rate);
}

}  // namespace RK
