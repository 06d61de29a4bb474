#pragma once
// The process's cache of loaded sounds, by file name exactly as requested.
// It owns every music player and effect until exit; everyone else holds
// plain pointers into it. Main thread only.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "audio/BGMusic.h"

namespace RK {

class SoundCache {
public:
    // The one cache, made on first use.
    static SoundCache* shared();
    // Tears the cache down now (process exit; tests): streamed players are
    // retired and the worker stopped and joined, the other players and the
    // effects deleted, then the device closed (also when no cache was
    // made). The next shared() makes a new cache.
    static void destroyShared();

    // Null when the name resolves to nothing or the file does not load;
    // a failure is not remembered, so the next request tries again.
    BGMusic* getMusic(const char* name);
    SEffect* getEffect(const char* name);
    void setMusicVolume(float volume);

    // Bit 0: system-player music may start; bit 1: effects may start.
    std::atomic<std::uint8_t> enableMask{3};

    ~SoundCache();
    SoundCache(const SoundCache&) = delete;
    SoundCache& operator=(const SoundCache&) = delete;

private:
    SoundCache();

    std::unordered_map<std::string, std::unique_ptr<BGMusic>> music_;
    std::unordered_map<std::string, std::unique_ptr<SEffect>> effects_;
};

}  // namespace RK
