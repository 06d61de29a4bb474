#pragma once
// The system audio player of the desktop backends: libsndfile decodes the
// whole file image, one OpenAL source on the process's current context plays
// it, and a main-loop timer watches for the end so the finish event arrives
// on the main thread.
#include <AL/al.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/MainLoop.h"
#include "platform/SystemAudioPlayer.h"

namespace platform::headless {

class HeadlessAudioPlayer final : public SystemAudioPlayer {
public:
    struct Pcm {
        std::vector<short> samples;  // interleaved
        int channels = 0;
        int rate = 0;
    };
    // Decodes a whole file image; false and a description on failure.
    static bool decode(const std::vector<unsigned char>& data, Pcm& pcm, std::string& error);

    HeadlessAudioPlayer(MainLoop& loop, Pcm pcm);
    ~HeadlessAudioPlayer() override;
    HeadlessAudioPlayer(const HeadlessAudioPlayer&) = delete;
    HeadlessAudioPlayer& operator=(const HeadlessAudioPlayer&) = delete;

    bool prepareToPlay() override;
    bool play() override;
    void pause() override;
    void stop() override;
    bool isPlaying() const override { return playing_; }
    void setCurrentTime(double seconds) override;
    double currentTime() const override;
    double duration() const override;
    void setNumberOfLoops(int loops) override;
    int numberOfLoops() const override { return loops_; }
    void setVolume(float volume) override;
    float volume() const override { return volume_; }
    void setDelegate(SystemAudioPlayerDelegate* delegate) override { delegate_ = delegate; }
    SystemAudioPlayerDelegate* delegate() const override { return delegate_; }

private:
    static constexpr Millis kWatchPeriod{10};
    void watch();       // one timer tick
    void stopWatching();

    MainLoop& loop_;
    Pcm pcm_;
    ALuint source_ = 0;
    ALuint buffer_ = 0;
    bool playing_ = false;
    bool paused_ = false;
    double position_ = 0.0;  // while neither playing nor paused
    int loops_ = 0;
    int loopsLeft_ = 0;
    float volume_ = 1.0f;
    SystemAudioPlayerDelegate* delegate_ = nullptr;
    std::unique_ptr<RepeatingTimer> watcher_;
};

class HeadlessSystemAudio final : public SystemAudio {
public:
    explicit HeadlessSystemAudio(MainLoop& loop) : loop_(loop) {}
    std::unique_ptr<SystemAudioPlayer> createPlayer(std::vector<unsigned char> data, std::string& error) override;

private:
    MainLoop& loop_;
};

}  // namespace platform::headless
