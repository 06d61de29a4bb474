#include "audio/OggPlayerIOS.h"

#include <cstdlib>
#include <mutex>

#include "audio/AudioDevice.h"
#include "audio/AudioFormat.h"
#include "audio/StreamWorker.h"
#include "platform/Log.h"

namespace RK {
namespace {

ALint sourceInt(ALuint source, ALenum what) {
    ALint value = 0;
    alGetSourcei(source, what, &value);
    return value;
}

}  // namespace

OggPlayerIOS::~OggPlayerIOS() {
    // A player deleted without being retired must not stay in the worker's
    // sets as a dangling pointer.
    StreamWorker::shared().forget(this);
    if (source_) {
        alSourceStop(source_);
        unqueueAll();
        alDeleteSources(1, &source_);
        alDeleteBuffers(2, buffers_);
    }
    std::free(pcm_[0]);
    std::free(pcm_[1]);
}

bool OggPlayerIOS::load(const char* path) {
    if (source_) {
        platform::log("OggPlayerIOS: %s: player already loaded", path ? path : "(null)");
        return false;
    }
    if (decoder_.open(path) != 0) return false;
    format_ = alFormatForChannels(decoder_.channels);
    alGetError();
    alGenSources(1, &source_);
    if (alGetError() != AL_NO_ERROR) {
        platform::log("OggPlayerIOS: %s: no OpenAL source available", path);
        source_ = 0;
        return false;
    }
    alGenBuffers(2, buffers_);
    if (alGetError() != AL_NO_ERROR) {
        platform::log("OggPlayerIOS: %s: no OpenAL buffers available", path);
        alDeleteSources(1, &source_);
        source_ = 0;
        buffers_[0] = buffers_[1] = 0;
        return false;
    }
    endOfStream_ = false;
    for (int i = 0; i < 2 && !endOfStream_; ++i) fillAndQueue(i);
    nextIndex_ = 0;
    StreamWorker::shared().addActive(this);
    return true;
}

int OggPlayerIOS::indexOf(ALuint buffer) const { return buffer == buffers_[1] ? 1 : 0; }

void OggPlayerIOS::fillAndQueue(int i) {
    if (!pcm_[i]) {
        // A stream that ended inside its first buffer never needed block 1.
        pcm_[i] = static_cast<char*>(std::malloc(static_cast<size_t>(decoder_.bufferBytes)));
        if (!pcm_[i]) return;
    }
    const int filled = decoder_.fillBuffer(pcm_[i], loop_.load(), &endOfStream_);
    if (filled <= 0) return;
    uploadBuffer(buffers_[i], format_, pcm_[i], filled, decoder_.rate);
    alSourceQueueBuffers(source_, 1, &buffers_[i]);
    nextIndex_ = (i + 1) % 2;
}

void OggPlayerIOS::unqueueAll() {
    // Only what is queued, whatever the state: a source that never played
    // has processed nothing, and unqueueing a pending buffer fails. Setting
    // no buffer on a stopped or initial source empties its queue.
    if (sourceInt(source_, AL_BUFFERS_QUEUED) > 0) alSourcei(source_, AL_BUFFER, 0);
}

void OggPlayerIOS::refillReleased(int processed) {
    if (processed > 2) processed = 2;
    ALuint released[2];
    alSourceUnqueueBuffers(source_, processed, released);
    // Refill exactly the buffers the source gave back; one still queued is
    // never written to.
    for (int k = 0; k < processed && !endOfStream_; ++k) fillAndQueue(indexOf(released[k]));
}

void OggPlayerIOS::play() {
    if (!source_) return;
    {
        std::lock_guard<std::mutex> guard(StreamWorker::shared().streamLock());
        wantPlaying_.store(true);
        alSourcePlay(source_);
    }
    StreamWorker::shared().ensureRunning();
}

void OggPlayerIOS::stop() {
    if (!source_) return;
    std::lock_guard<std::mutex> guard(StreamWorker::shared().streamLock());
    wantPlaying_.store(false);
    alSourceStop(source_);
    unqueueAll();
    nextIndex_ = 0;
    decoder_.seekTime(0.0);
    endOfStream_ = false;
    for (int i = 0; i < 2 && !endOfStream_; ++i) fillAndQueue(i);
    nextIndex_ = 0;
    // Back to the initial state, so that play starts the new queue afresh.
    alSourceRewind(source_);
}

void OggPlayerIOS::pause() {
    if (!source_) return;
    // Under the lock so the worker never sees the source paused while the
    // owner still wants it playing (that would look like a dry source).
    std::lock_guard<std::mutex> guard(StreamWorker::shared().streamLock());
    wantPlaying_.store(false);
    alSourcePause(source_);
}

bool OggPlayerIOS::isPlaying() { return source_ && sourceInt(source_, AL_SOURCE_STATE) == AL_PLAYING; }

void OggPlayerIOS::setLoop(bool loop) { loop_.store(loop); }

void OggPlayerIOS::setVolume(float volume) {
    if (source_) alSourcef(source_, AL_GAIN, clampVolume(volume));
}

void OggPlayerIOS::setListener(EventListener* listener) {
    std::lock_guard<std::mutex> guard(StreamWorker::shared().streamLock());
    listener_.store(listener);
}

void OggPlayerIOS::service() {
    if (!source_) return;
    const ALint state = sourceInt(source_, AL_SOURCE_STATE);
    if (state == AL_PLAYING) {
        const ALint processed = sourceInt(source_, AL_BUFFERS_PROCESSED);
        if (processed < 1 || endOfStream_) return;
        refillReleased(processed);
        return;
    }
    if (state == AL_STOPPED && wantPlaying_.load() && !endOfStream_) {
        // Ran dry while it should be sounding: refill and restart rather
        // than leave the music silent for good.
        refillReleased(sourceInt(source_, AL_BUFFERS_PROCESSED));
        if (sourceInt(source_, AL_BUFFERS_QUEUED) > 0) StreamWorker::shared().countUnderrun();
        alSourcePlay(source_);
        return;
    }
    // A source that never started since load or stop has not played its end
    // yet, even when the whole clip fits in what is queued: reporting now
    // would end a short voice before it is heard.
    if (!endOfStream_ || state == AL_INITIAL) return;
    if (state == AL_STOPPED) wantPlaying_.store(false);  // played out
    if (EventListener* listener = listener_.load()) {
        endOfStream_ = false;
        listener->onFinished(this);
    }
}

bool OggPlayerIOS::releasedItsBuffers() const {
    if (!source_) return true;
    if (sourceInt(source_, AL_SOURCE_STATE) != AL_PLAYING) return true;
    return sourceInt(source_, AL_BUFFERS_PROCESSED) >= sourceInt(source_, AL_BUFFERS_QUEUED);
}

void OggPlayerIOS::retire(OggPlayerIOS* player) {
    if (!player) return;
    // Silenced first: once retired the worker may delete it at any pass.
    player->setVolume(0.0f);
    StreamWorker::shared().retire(player);
}

}  // namespace RK
