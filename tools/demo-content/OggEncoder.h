#pragma once
// Ogg Vorbis encoding for generated content and test clips. A fixed stream
// serial and libvorbisenc's deterministic VBR make the bytes reproducible.
#include <string>
#include <vector>

namespace democontent {

// Interleaved samples in -1 ... 1 (frames × channels); empty on failure.
std::string encodeOgg(const std::vector<float>& interleaved, int channels, int rate, float quality, int serial);

}  // namespace democontent
