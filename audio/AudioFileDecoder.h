#pragma once
// Whole-file decode of every non-Ogg effect (WAV, FLAC, AIFF ... whatever
// libsndfile reads) to 16-bit interleaved PCM at the file's own rate and
// channel count.
#include <AL/al.h>

namespace RK {

// Effects and system-player music are held whole; a file or a decoded sound
// past this is not one the client plays and would only exhaust memory.
inline constexpr long long kMaxAudioFileBytes = 256LL * 1024 * 1024;

// Null on failure. The caller frees the block with free().
char* decodeAudioFile(const char* path, int* size, ALenum* format, int* rate);

}  // namespace RK
