#pragma once
// Small helpers shared by the decoders and players: the OpenAL format of a
// channel count and the gain clamp.
#include <AL/al.h>

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

}  // namespace RK
