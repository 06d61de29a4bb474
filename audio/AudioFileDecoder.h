#pragma once
// Whole-file decode of every non-Ogg effect (WAV, FLAC, AIFF ... whatever
// libsndfile reads) to 16-bit interleaved PCM at the file's own rate and
// channel count.
#include <AL/al.h>

namespace RK {

// Null on failure. The caller frees the block with free().
char* decodeAudioFile(const char* path, int* size, ALenum* format, int* rate);

}  // namespace RK
