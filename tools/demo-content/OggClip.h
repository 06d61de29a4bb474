#pragma once
// Short Ogg Vorbis tones for the demo content: original sounds, byte for
// byte the same on every run (fixed stream serial).
#include <string>

namespace democontent {

// A mono sine tone of the given length and pitch; empty on failure.
std::string oggTone(double seconds, double frequency, int serial);

}  // namespace democontent
