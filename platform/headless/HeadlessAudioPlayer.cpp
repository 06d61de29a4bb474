#include "platform/headless/HeadlessAudioPlayer.h"

#include <AL/alc.h>
#include <sndfile.h>

#include <cstring>

namespace platform::headless {
namespace {

// Music is held whole; past this it is not a file the client plays.
constexpr sf_count_t kMaxSamples = 128LL * 1024 * 1024;

struct Image {
    const std::vector<unsigned char>* data;
    sf_count_t position;
};

sf_count_t imageLength(void* user) { return static_cast<sf_count_t>(static_cast<Image*>(user)->data->size()); }
sf_count_t imageSeek(sf_count_t offset, int whence, void* user) {
    auto* image = static_cast<Image*>(user);
    const sf_count_t length = imageLength(user);
    const sf_count_t base = whence == SEEK_CUR ? image->position : whence == SEEK_END ? length : 0;
    if (base + offset < 0 || base + offset > length) return -1;
    image->position = base + offset;
    return image->position;
}
sf_count_t imageRead(void* out, sf_count_t count, void* user) {
    auto* image = static_cast<Image*>(user);
    const sf_count_t left = imageLength(user) - image->position;
    const sf_count_t n = count < left ? count : left;
    if (n <= 0) return 0;
    std::memcpy(out, image->data->data() + image->position, static_cast<size_t>(n));
    image->position += n;
    return n;
}
sf_count_t imageWrite(const void*, sf_count_t, void*) { return 0; }
sf_count_t imageTell(void* user) { return static_cast<Image*>(user)->position; }

}  // namespace

bool HeadlessAudioPlayer::decode(const std::vector<unsigned char>& data, Pcm& pcm, std::string& error) {
    if (data.empty()) {
        error = "The file is empty.";
        return false;
    }
    Image image{&data, 0};
    SF_VIRTUAL_IO io{imageLength, imageSeek, imageRead, imageWrite, imageTell};
    SF_INFO info{};
    SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, &image);
    if (!file) {
        error = sf_strerror(nullptr);
        return false;
    }
    bool ok = false;
    if (info.channels <= 0 || info.samplerate <= 0 || info.frames <= 0) {
        error = "The file holds no audio.";
    } else if (info.frames > kMaxSamples / info.channels) {
        error = "The file is too long.";
    } else {
        pcm.samples.resize(static_cast<size_t>(info.frames * info.channels));
        const sf_count_t frames = sf_readf_short(file, pcm.samples.data(), info.frames);
        if (frames <= 0) {
            error = "The audio could not be decoded.";
        } else {
            // A damaged file may hold fewer frames than its header says.
            pcm.samples.resize(static_cast<size_t>(frames * info.channels));
            pcm.channels = info.channels;
            pcm.rate = info.samplerate;
            ok = true;
        }
    }
    sf_close(file);
    return ok;
}

HeadlessAudioPlayer::HeadlessAudioPlayer(MainLoop& loop, Pcm pcm) : loop_(loop), pcm_(std::move(pcm)) {}

HeadlessAudioPlayer::~HeadlessAudioPlayer() {
    stopWatching();
    if (source_) {
        alSourceStop(source_);
        alSourcei(source_, AL_BUFFER, 0);
        alDeleteSources(1, &source_);
    }
    if (buffer_) alDeleteBuffers(1, &buffer_);
}

bool HeadlessAudioPlayer::prepareToPlay() {
    if (source_) return true;
    if (!alcGetCurrentContext()) return false;
    alGetError();
    alGenBuffers(1, &buffer_);
    alGenSources(1, &source_);
    if (alGetError() != AL_NO_ERROR) {
        if (source_) alDeleteSources(1, &source_);
        if (buffer_) alDeleteBuffers(1, &buffer_);
        source_ = buffer_ = 0;
        return false;
    }
    // More than two channels play as stereo frames, as the streaming player does.
    const ALenum format = pcm_.channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    const int frameBytes = pcm_.channels == 1 ? 2 : 4;
    const size_t bytes = pcm_.samples.size() * sizeof(short) / frameBytes * frameBytes;
    alBufferData(buffer_, format, pcm_.samples.data(), static_cast<ALsizei>(bytes), pcm_.rate);
    alSourcei(source_, AL_BUFFER, static_cast<ALint>(buffer_));
    alSourcef(source_, AL_GAIN, volume_);
    alSourcei(source_, AL_LOOPING, loops_ < 0 ? AL_TRUE : AL_FALSE);
    return true;
}

bool HeadlessAudioPlayer::play() {
    if (!prepareToPlay()) return false;
    if (playing_) return true;
    if (!paused_) {
        loopsLeft_ = loops_ > 0 ? loops_ : 0;
        alSourceRewind(source_);
        alSourcePlay(source_);
        if (position_ > 0.0) alSourcef(source_, AL_SEC_OFFSET, static_cast<ALfloat>(position_));
    } else {
        alSourcePlay(source_);
    }
    playing_ = true;
    paused_ = false;
    if (!watcher_) watcher_ = loop_.scheduleRepeating(kWatchPeriod, [this] { watch(); });
    return true;
}

void HeadlessAudioPlayer::pause() {
    if (!playing_) return;
    alSourcePause(source_);
    playing_ = false;
    paused_ = true;
    stopWatching();
}

void HeadlessAudioPlayer::stop() {
    // Like the system player: playback ends, the position stays.
    position_ = currentTime();
    if (source_) alSourceStop(source_);
    playing_ = paused_ = false;
    stopWatching();
}

void HeadlessAudioPlayer::setCurrentTime(double seconds) {
    if (!(seconds > 0.0)) seconds = 0.0;
    if (seconds > duration()) seconds = duration();
    position_ = seconds;
    if (source_ && (playing_ || paused_)) alSourcef(source_, AL_SEC_OFFSET, static_cast<ALfloat>(seconds));
}

double HeadlessAudioPlayer::currentTime() const {
    if (!source_ || (!playing_ && !paused_)) return position_;
    ALfloat offset = 0;
    alGetSourcef(source_, AL_SEC_OFFSET, &offset);
    return offset;
}

double HeadlessAudioPlayer::duration() const {
    if (pcm_.channels <= 0 || pcm_.rate <= 0) return 0.0;
    return static_cast<double>(pcm_.samples.size() / pcm_.channels) / pcm_.rate;
}

void HeadlessAudioPlayer::setNumberOfLoops(int loops) {
    loops_ = loops < 0 ? -1 : loops;
    if (source_) alSourcei(source_, AL_LOOPING, loops_ < 0 ? AL_TRUE : AL_FALSE);
}

void HeadlessAudioPlayer::setVolume(float volume) {
    volume_ = !(volume > 0.0f) ? 0.0f : volume > 1.0f ? 1.0f : volume;
    if (source_) alSourcef(source_, AL_GAIN, volume_);
}

void HeadlessAudioPlayer::stopWatching() {
    if (watcher_) watcher_->invalidate();
    watcher_.reset();
}

void HeadlessAudioPlayer::watch() {
    if (!playing_ || !source_) return;
    ALint state = AL_STOPPED;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    if (state != AL_STOPPED) return;
    if (loopsLeft_ > 0) {
        --loopsLeft_;
        alSourcePlay(source_);
        return;
    }
    playing_ = false;
    position_ = 0.0;
    stopWatching();
    // Last: the delegate may do anything, this player included.
    if (delegate_) delegate_->audioPlayerDidFinishPlaying(*this, true);
}

std::unique_ptr<SystemAudioPlayer> HeadlessSystemAudio::createPlayer(std::vector<unsigned char> data, std::string& error) {
    HeadlessAudioPlayer::Pcm pcm;
    if (!HeadlessAudioPlayer::decode(data, pcm, error)) return nullptr;
    if (!alcGetCurrentContext()) {
        error = "No audio device is open.";
        return nullptr;
    }
    return std::make_unique<HeadlessAudioPlayer>(loop_, std::move(pcm));
}

}  // namespace platform::headless
