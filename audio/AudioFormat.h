#pragma once
// Small helpers shared by the decoders and players: the OpenAL format of a
// channel count, the gain clamp and the case-blind ".ogg" test that picks the
// streaming player and the Ogg decoder.
#include <AL/al.h>

#include <string_view>

namespace RK {

// One channel is mono; every other count is played as stereo.
inline ALenum alFormatForChannels(int channels) {
    return channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
}

// Gains live in 0.0 ... 1.0; NaN (a page may send anything) counts as silence.
inline float clampVolume(float value) {
    if (!(value > 0.0f)) return 0.0f;
    return value > 1.0f ? 1.0f : value;
}

// True when the name ends in ".ogg" in any letter case. A name of only four
// characters ("x.og" is three) still needs the dot, so ".ogg" itself counts.
bool hasOggSuffix(std::string_view name);

}  // namespace RK
