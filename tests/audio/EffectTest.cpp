#include "audio/SEffectIOS.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <memory>

#include "audio/AudioDevice.h"
#include "audio/AudioFileDecoder.h"
#include "tests/audio/support/AudioHome.h"

namespace {

ALint sourceState(ALuint source) {
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

class EffectTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(env_.audio->ok());
        pool_ = RK::effectSourcePool();
        ASSERT_NE(pool_, nullptr);
        a_ = make("a.wav", {1, 44100, 44100});
        b_ = make("b.ogg", {2, 22050, 22050});
    }
    std::unique_ptr<RK::SEffectIOS> make(const std::string& file, const audiotest::Clip& clip) {
        const std::string path = env_.bundleFile(file);
        const bool written = file.ends_with(".ogg") ? audiotest::writeOggClip(path, clip)
                                                    : audiotest::writeWavClip(path, clip);
        EXPECT_TRUE(written);
        auto effect = std::make_unique<RK::SEffectIOS>(pool_);
        EXPECT_TRUE(effect->load(path.c_str()));
        return effect;
    }
    ALuint slot(int i) const { return pool_->sources[i]; }

    audiotest::AudioHome env_;
    RK::EffectSourcePool* pool_ = nullptr;
    std::unique_ptr<RK::SEffectIOS> a_, b_;
};

TEST_F(EffectTest, SixthPlayTakesTheOldestSlotAndHandleFive) {
    for (int i = 0; i < 5; ++i) EXPECT_EQ(a_->play(0, 1.0f), i);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(sourceState(slot(i)), AL_PLAYING) << i;
    EXPECT_EQ(b_->play(0, 1.0f), 5);
    ALint buffer = 0;
    alGetSourcei(slot(0), AL_BUFFER, &buffer);
    EXPECT_EQ(static_cast<ALuint>(buffer), b_->bufferName());
    // Handle 0 is gone: slot 0 now records 5.
    b_->stop(0);
    EXPECT_EQ(sourceState(slot(0)), AL_PLAYING);
    b_->stop(5);
    EXPECT_EQ(sourceState(slot(0)), AL_STOPPED);
}

TEST_F(EffectTest, HandlesWrapAfter256Plays) {
    int handle = -1;
    for (int i = 0; i < 256; ++i) handle = a_->play(0, 0.1f);
    EXPECT_EQ(handle, 255);
    EXPECT_EQ(a_->play(0, 0.1f), 0);  // the 257th
}

TEST_F(EffectTest, HandleActsOnlyWhileItsSlotStillPlaysThisEffect) {
    const int handle = a_->play(1, 1.0f);
    EXPECT_EQ(handle, 0);
    b_->stop(handle);  // slot 0 records handle 0, but holds another effect
    EXPECT_EQ(sourceState(slot(0)), AL_PLAYING);
    a_->pause(handle);
    EXPECT_EQ(sourceState(slot(0)), AL_PAUSED);
    a_->resume(handle);
    EXPECT_EQ(sourceState(slot(0)), AL_PLAYING);
    a_->stop(-1);  // what a disabled play returned
    a_->stop(77);  // never issued
    EXPECT_EQ(sourceState(slot(0)), AL_PLAYING);
    a_->stop(handle);
    EXPECT_EQ(sourceState(slot(0)), AL_STOPPED);
}

TEST_F(EffectTest, PlaySetsClampedGainAndLoopFlag) {
    struct Case {
        int loop;
        float volume, gain;
    } cases[] = {{0, 1.7f, 1.0f}, {1, -0.2f, 0.0f}, {0, 0.5f, 0.5f}};
    for (const Case& c : cases) {
        a_->play(c.loop, c.volume);
        const int used = (pool_->nextSlot + RK::EffectSourcePool::kSlots - 1) % RK::EffectSourcePool::kSlots;
        ALfloat gain = -1;
        ALint looping = -1;
        alGetSourcef(slot(used), AL_GAIN, &gain);
        alGetSourcei(slot(used), AL_LOOPING, &looping);
        EXPECT_FLOAT_EQ(gain, c.gain);
        EXPECT_EQ(looping, c.loop ? AL_TRUE : AL_FALSE);
    }
}

TEST_F(EffectTest, NonOggEffectKeepsItsOwnRateAndChannels) {
    struct Case {
        audiotest::Clip clip;
    } cases[] = {{{2, 22050, 3000}}, {{1, 48000, 1234}}};
    for (const Case& c : cases) {
        auto effect = make("own.wav", c.clip);
        ALint frequency = 0, channels = 0, size = 0;
        alGetBufferi(effect->bufferName(), AL_FREQUENCY, &frequency);
        alGetBufferi(effect->bufferName(), AL_CHANNELS, &channels);
        alGetBufferi(effect->bufferName(), AL_SIZE, &size);
        EXPECT_EQ(frequency, c.clip.rate);
        EXPECT_EQ(channels, c.clip.channels);
        EXPECT_EQ(size, c.clip.frames * 2 * c.clip.channels);
    }
}

TEST_F(EffectTest, UndecodableFilesDoNotLoad) {
    const std::string text = env_.bundleFile("noise.wav");
    std::ofstream(text) << "RIFF but not really";
    RK::SEffectIOS effect(pool_);
    EXPECT_FALSE(effect.load(text.c_str()));
    EXPECT_FALSE(effect.load(env_.bundleFile("missing.ogg").c_str()));
    EXPECT_FALSE(effect.load(""));
    EXPECT_EQ(effect.bufferName(), 0u);
    int size = 5;
    EXPECT_EQ(RK::decodeAudioFile(text.c_str(), &size, nullptr, nullptr), nullptr);
    EXPECT_EQ(size, 5);
}

TEST_F(EffectTest, DeletingAPlayingEffectDetachesItsSource) {
    a_->play(1, 1.0f);
    a_.reset();
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
    ALint buffer = -1;
    alGetSourcei(slot(0), AL_BUFFER, &buffer);
    EXPECT_EQ(buffer, 0);
    env_.audio->render(4410);  // the mixer no longer reads the deleted data
}

}  // namespace
