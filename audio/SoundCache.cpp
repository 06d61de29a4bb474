#include "audio/SoundCache.h"

#include "audio/AudioDevice.h"
#include "audio/BGMusicIOS.h"
#include "audio/OggPlayerIOS.h"
#include "audio/SEffectIOS.h"
#include "audio/SearchPaths.h"
#include "audio/StreamWorker.h"
#include "foundation/Strings.h"

namespace RK {
namespace {

std::unique_ptr<SoundCache>& holder() {
    // The worker's state is made before the holder, so it outlives the
    // cache's teardown at exit (statics die in reverse order of birth).
    StreamWorker::shared();
    static std::unique_ptr<SoundCache> cache;
    return cache;
}

}  // namespace

SoundCache* SoundCache::shared() {
    std::unique_ptr<SoundCache>& cache = holder();
    if (!cache) cache.reset(new SoundCache());
    return cache.get();
}

void SoundCache::destroyShared() {
    holder().reset();
    // Also when no cache was ever made: the worker and the device go too.
    StreamWorker::shared().stop();
    closeAudioDevice();
}

SoundCache::SoundCache() = default;

SoundCache::~SoundCache() {
    // The worker is stopped and joined first, so no thread touches a player,
    // a source or the context while they go away; and a player it would have
    // deleted once retired is deleted exactly once, here.
    StreamWorker& worker = StreamWorker::shared();
    worker.stop();
    for (auto& [name, music] : music_) {
        if (endsWith(name, ".ogg", 1)) {
            if (auto* ogg = dynamic_cast<OggPlayerIOS*>(music.get())) OggPlayerIOS::retire(ogg);
        }
    }
    for (auto& [name, music] : music_) music.reset();
    music_.clear();
    // The pool's sources let go of every buffer before the effects delete them.
    if (EffectSourcePool* pool = effectSourcePool()) {
        for (ALuint source : pool->sources) {
            if (!source) continue;
            alSourceStop(source);
            alSourcei(source, AL_BUFFER, 0);
        }
    }
    effects_.clear();
    closeAudioDevice();
}

BGMusic* SoundCache::getMusic(const char* name) {
    if (isNullOrEmpty(name)) return nullptr;
    const std::string key(name);
    if (auto it = music_.find(key); it != music_.end()) return it->second.get();
    const std::string path = resolvePath(name);
    std::unique_ptr<BGMusic> music;
    if (endsWith(path, ".ogg", 1)) {
        music = std::make_unique<OggPlayerIOS>();
    } else {
        music = std::make_unique<BGMusicIOS>();
    }
    if (!music->load(path.c_str())) return nullptr;
    BGMusic* result = music.get();
    music_.emplace(key, std::move(music));
    return result;
}

SEffect* SoundCache::getEffect(const char* name) {
    if (isNullOrEmpty(name)) return nullptr;
    const std::string key(name);
    if (auto it = effects_.find(key); it != effects_.end()) return it->second.get();
    const std::string path = resolvePath(name);
    auto effect = std::make_unique<SEffectIOS>(effectSourcePool());
    if (!effect->load(path.c_str())) return nullptr;
    SEffect* result = effect.get();
    effects_.emplace(key, std::move(effect));
    return result;
}

void SoundCache::setMusicVolume(float volume) {
    for (auto& [name, music] : music_) music->setVolume(volume);
}

}  // namespace RK
