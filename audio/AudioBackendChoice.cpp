#include "audio/AudioBackendChoice.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/Log.h"

namespace RK {
namespace {

bool isSocket(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_socket(path, error);
}

bool hasPulseServer() {
    if (const char* server = std::getenv("PULSE_SERVER"); server && *server) return true;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        if (isSocket(std::string(runtime) + "/pulse/native")) return true;
    }
    return isSocket("/run/user/" + std::to_string(getuid()) + "/pulse/native") ||
           isSocket("/run/pulse/native") || isSocket("/var/run/pulse/native");
}

bool hasAlsaPlayback() {
    std::error_code error;
    std::filesystem::directory_iterator it("/dev/snd", error), end;
    for (; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        // Playback PCM nodes are pcmC<card>D<device>p.
        if (name.rfind("pcmC", 0) == 0 && !name.empty() && name.back() == 'p') return true;
    }
    return false;
}

}  // namespace

SoundOutputProbe probeSoundOutput() {
    SoundOutputProbe probe;
    const char* drivers = std::getenv("ALSOFT_DRIVERS");
    const char* conf = std::getenv("ALSOFT_CONF");
    probe.driversChosen = (drivers && *drivers) || (conf && *conf);
    probe.pulseServer = hasPulseServer();
    probe.alsaCard = hasAlsaPlayback();
    std::error_code error;
    probe.ossDevice = std::filesystem::exists("/dev/dsp", error);
    return probe;
}

bool shouldUseSilentBackend(const SoundOutputProbe& probe) {
    if (probe.driversChosen) return false;  // the user's choice stands
    return !probe.pulseServer && !probe.alsaCard && !probe.ossDevice;
}

bool chooseAudioBackend() {
    if (!shouldUseSilentBackend(probeSoundOutput())) return false;
    platform::log("Audio: no sound output found, playing through the silent null device");
    setenv("ALSOFT_DRIVERS", "null", 0);
    return true;
}

}  // namespace RK
