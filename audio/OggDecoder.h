#pragma once
// Ogg Vorbis decoding into signed 16-bit little-endian interleaved PCM:
// piecewise, one streaming buffer at a time (the streaming player), or the
// whole file into one block (sound effects).
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <AL/al.h>
#include <vorbis/vorbisfile.h>

#include <cstdio>

namespace RK {

char* decodeOggStream(FILE* file, int* size, ALenum* format, int* rate);

class OggDecoder {
public:
    OggDecoder();
    virtual ~OggDecoder();
    OggDecoder(const OggDecoder&) = delete;
    OggDecoder& operator=(const OggDecoder&) = delete;

    // Fills the bufferBytes-byte block; returns the bytes filled. With loop set
    // the end of the stream wraps to its start inside the same block. Without
    // it the last block comes back short (the rest zero) and *endOfStream set.
    int fillBuffer(char* destination, bool loop, bool* endOfStream = nullptr);
    // malloc'ed block of bufferBytes filled by fillBuffer; the caller frees it.
    char* allocBuffer(int* bytes, bool loop, bool* endOfStream = nullptr);
    // The library's time seek: 0 or its error code.
    int seekTime(double seconds);

    int channels = 0;
    int rate = 0;
    int bufferBytes = 0;  // a quarter second, whole sample frames
    bool opened = false;

    // Streaming buffer size for a stream: a quarter second of 16-bit audio,
    // rounded down to whole frames of both the stream and its OpenAL format.
    static int bufferBytesFor(int channels, int rate);

protected:
    friend char* decodeOggStream(FILE* file, int* size, ALenum* format, int* rate);

    // Takes the stdio stream (closed on failure as on success); 0 or the
    // library's negative code.
    int openStream(FILE* file);

    OggVorbis_File file_;
};

class OggFileDecoder : public OggDecoder {
public:
    OggFileDecoder() = default;
    // 0 on success, -1 when the file cannot be opened, else the library's code.
    int open(const char* path);
    // Same over an already open stdio stream (fmemopen for in-memory data).
    int open(FILE* file) { return openStream(file); }
};

// Whole-file decode. Null with the outputs untouched when the file does not
// open; null with *size 0 when it holds no samples. The caller frees the block.
char* decodeOggFile(const char* path, int* size, ALenum* format, int* rate);
// Same over an open stdio stream, which it closes.
char* decodeOggStream(FILE* file, int* size, ALenum* format, int* rate);

}  // namespace RK
