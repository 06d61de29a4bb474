#include "tools/demo-content/OggClip.h"

#include "tools/demo-content/OggEncoder.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace democontent {

std::string oggTone(double seconds, double frequency, int serial) {
    constexpr int kRate = 22050;
    const long frames = static_cast<long>(seconds * kRate);
    std::vector<float> samples(static_cast<size_t>(std::max(0L, frames)));
    for (long f = 0; f < frames; ++f) {
        const double t = static_cast<double>(f) / kRate;
        const double fade = std::min(1.0, std::min(t, seconds - t) * 20.0);  // no clicks
        samples[static_cast<size_t>(f)] = static_cast<float>(0.4 * fade * std::sin(2 * M_PI * frequency * t));
    }
    return encodeOgg(samples, 1, kRate, 0.3f, serial);
}

}  // namespace democontent
