// Arbitrary bytes as an Ogg Vorbis file: the streaming fill (looping and
// not) and the whole-file decode must stay inside their blocks and end.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "audio/OggDecoder.h"
#include "platform/Log.h"

// libvorbisfile 1.3.7 loses the serial-number list of a chained stream's
// inner link when a later link fails to open (xiph/vorbis issues 125/126):
// 8 bytes per refused chained file, inside the library, after it has cleared
// everything it hands back. The library is stripped, so only its module can
// be named: leaks with the library on their stack are not reported here (the
// decoder's own clean-up of what the library holds is covered by the ASan
// decoder tests), while the blocks the decoder allocates itself stay checked.
extern "C" const char* __lsan_default_suppressions() { return "leak:libvorbisfile.so\n"; }

namespace {

FILE* openMemory(const uint8_t* data, size_t size) {
    // fmemopen wants a non-empty buffer it may keep using; give it a copy.
    static std::vector<uint8_t> copy;
    copy.assign(data, data + size);
    if (copy.empty()) copy.push_back(0);
    return fmemopen(copy.data(), size ? size : 1, "rb");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static platform::LogCapture quiet;  // decode failures log; keep the output readable
    for (bool loop : {false, true}) {
        RK::OggFileDecoder decoder;
        if (decoder.open(openMemory(data, size)) != 0) break;
        std::vector<char> block(static_cast<size_t>(decoder.bufferBytes) + 8, 0x5a);
        for (int i = 0; i < 8; ++i) {
            bool end = false;
            const int filled = decoder.fillBuffer(block.data(), loop, &end);
            if (filled < 0 || filled > decoder.bufferBytes) std::abort();
            for (int k = 0; k < 8; ++k)
                if (block[decoder.bufferBytes + k] != 0x5a) std::abort();
            if (end) break;
        }
    }
    int bytes = -1, rate = 0;
    ALenum format = 0;
    char* whole = RK::decodeOggStream(openMemory(data, size), &bytes, &format, &rate);
    if (whole && bytes <= 0) std::abort();
    std::free(whole);
    quiet.clear();
    return 0;
}
