#include "tests/audio/support/AudioHome.h"

#include <filesystem>

#include "audio/SearchPaths.h"
#include "audio/SoundCache.h"

namespace audiotest {

AudioHome::AudioHome() {
    platform::headless::HeadlessBackend::Options options;
    options.home = home.path();
    options.bundle = bundle.path;
    backend = std::make_unique<platform::headless::HeadlessBackend>(options);
    previous = platform::setBackend(backend.get());
    RK::initSearchPaths();
    audio = std::make_unique<LoopbackAudio>();
}

AudioHome::~AudioHome() {
    audio.reset();
    platform::setBackend(previous);
    backend.reset();
}

std::string AudioHome::documentsFile(const std::string& name) const {
    return backend->directories().documents() + "/" + name;
}

std::string AudioHome::cachesFile(const std::string& name) const {
    return backend->directories().caches() + "/" + name;
}

}  // namespace audiotest
