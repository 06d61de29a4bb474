#pragma once
// OpenAL Soft picks its output backend once, at the first ALC call, and a
// machine without a sound server then fails to open any device. The program
// looks for a sound output first and, finding none, asks for the silent
// "null" backend, which still plays in real time so clips end on schedule.
#include <string>

namespace RK {

struct SoundOutputProbe {
    bool driversChosen = false;  // ALSOFT_DRIVERS or ALSOFT_CONF set by the user
    bool pulseServer = false;    // a PulseAudio (or PipeWire-Pulse) socket
    bool alsaCard = false;       // an ALSA playback device node
    bool ossDevice = false;      // /dev/dsp
};

SoundOutputProbe probeSoundOutput();
bool shouldUseSilentBackend(const SoundOutputProbe& probe);
// Sets ALSOFT_DRIVERS=null when the probe finds no output; returns whether it did.
bool chooseAudioBackend();

}  // namespace RK
