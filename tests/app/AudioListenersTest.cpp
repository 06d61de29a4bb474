// The end-of-voice listeners: one post per clip from whichever thread reports
// it, nothing run for a listener that was released meanwhile, and no player
// left pointing at a freed listener.
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "app/AudioListeners.h"
#include "tests/app/ControllerFixture.h"

namespace app::testing {
namespace {

class FakeMusic final : public RK::BGMusic {
public:
    bool load(const char*) override { return true; }
    void play() override {}
    void stop() override {}
    void pause() override {}
    bool isPlaying() override { return false; }
    void setLoop(bool) override {}
    void setVolume(float) override {}
};

class OtherListener final : public RK::BGMusic::EventListener {
public:
    void onFinished(RK::BGMusic*) override {}
};

using AudioListeners = ControllerFixture;

TEST_F(AudioListeners, EndsFromSeveralThreadsRunTheMethodOnceOnTheMainThread) {
    FakeMusic player;
    auto listener = std::make_shared<TitleVoiceListener>(controller);
    listener->attach(&player);
    std::vector<std::thread> workers;
    for (int i = 0; i < 4; ++i) workers.emplace_back([&] { player.getListener()->onFinished(&player); });
    for (auto& w : workers) w.join();
    EXPECT_EQ(controller->_titleToucheState.load(), 0) << "only posted, not run on the reporting thread";
    run(10);
    EXPECT_EQ(controller->_titleToucheState.load(), 2);
    controller->_titleToucheState = 0;
    listener->onFinished(&player);
    run(10);
    EXPECT_EQ(controller->_titleToucheState.load(), 0) << "a listener fires once";
}

TEST_F(AudioListeners, AnEndWhoseListenerWasReleasedIsDropped) {
    FakeMusic player;
    std::shared_ptr<VoiceEndListener> listener = std::make_shared<TitleVoiceListener>(controller);
    listener->attach(&player);
    std::thread([&] { player.getListener()->onFinished(&player); }).join();
    releaseListener(listener);
    EXPECT_EQ(player.getListener(), nullptr);
    run(10);
    EXPECT_EQ(controller->_titleToucheState.load(), 0);
}

TEST_F(AudioListeners, FreedListenerDetachesOnlyItself) {
    FakeMusic player;
    OtherListener other;
    {
        auto listener = std::make_shared<LogoVoiceListener>(controller);
        listener->attach(&player);
        EXPECT_EQ(player.getListener(), listener.get());
    }
    EXPECT_EQ(player.getListener(), nullptr);
    {
        auto listener = std::make_shared<VoiceBgmListener>(controller);
        listener->attach(&player);
        player.setListener(&other);  // someone else took the player over
    }
    EXPECT_EQ(player.getListener(), &other);
}

TEST_F(AudioListeners, AnEndPendingWhenTheControllerGoesIsDropped) {
    FakeMusic player;
    controller->_voiceListener = std::make_shared<TitleVoiceListener>(controller);
    controller->_voiceListener->attach(&player);
    std::thread([&] { player.getListener()->onFinished(&player); }).join();
    delegate.reset();
    controller = nullptr;
    EXPECT_EQ(player.getListener(), nullptr);
    run(10);  // the posted end finds no listener and touches nothing
}

}  // namespace
}  // namespace app::testing
