// dispatchAfterDownload on a live controller against the demo server: the
// waiting loop, the loading screen's page and gauge, the start button wait,
// the communication alert, and a stay in the background mid-run.
#include "tests/install/ControllerOnDemoServer.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using ControllerDownload = installtest::ControllerOnDemoServer;

TEST_F(ControllerDownload, FirstRunWaitsForTheStartButtonThenOpensTheHomePage) {
    startRun();
    ASSERT_TRUE(runUntil([&] { return showsFullGauge(); })) << logs.text();
    EXPECT_EQ(c->_downloadCheckState, 2);
    EXPECT_TRUE(fs::exists(home.path() + "/Library/Caches/voice_b03b.ogg"));
    // Nothing happens until the start button is pressed.
    backend->mainLoop().runFor(300ms);
    EXPECT_TRUE(homeLoads().empty());

    c->_dlWaitFlg = false;  // what a touch in the start area does
    ASSERT_TRUE(runUntil([&] { return !homeLoads().empty(); })) << logs.text();
    waiter.join();
    const std::string homeRequest = "\"path\":\"/\"";
    ASSERT_TRUE(runUntil([&] {
        for (const auto& line : server.requestLog())
            if (line.find(homeRequest) != std::string::npos) return true;
        return false;
    })) << logs.text();
    for (const auto& line : server.requestLog()) {
        if (line.find(homeRequest) == std::string::npos) continue;
        EXPECT_NE(line.find("\"user_agent\":\"" + c->userAgentString() + "\""), std::string::npos) << line;
    }
    EXPECT_EQ(c->_downloadCheckState, 3);
    EXPECT_EQ(c->_downloadErrState, 0);
    EXPECT_EQ(c->semaphore(), nullptr);
    EXPECT_FALSE(backend->preferences().boolForKey("DOWNLOAD_FIRST"));
    EXPECT_TRUE(backend->headlessWindowing().alertHistory().empty());
}

TEST_F(ControllerDownload, ACutArchiveEndsInTheCommunicationAlert) {
    server.setCutAfter("/resource/download/zip/pelora_base_02.zip", 1500);
    startRun();
    ASSERT_TRUE(runUntil([&] { return !backend->headlessWindowing().visibleAlerts().empty(); })) << logs.text();
    waiter.join();
    EXPECT_EQ(backend->headlessWindowing().visibleAlerts().front()->tag(), app::kAlertDownloadFailed);
    EXPECT_EQ(c->_downloadErrState, 1);
    EXPECT_TRUE(homeLoads().empty());
    EXPECT_TRUE(backend->preferences().boolForKey("DOWNLOAD_FIRST"));
}

TEST_F(ControllerDownload, BackgroundMidRunRebuildsTheScreenAndStartsNoSecondRun) {
    // A slow second archive keeps the run going while the application is away.
    server.setDelay("/resource/download/zip/pelora_base_02.zip", 1500);
    c->_fadeStart = true;  // launched and past the logo long ago
    delegate->applicationDidBecomeActive();
    startRun();
    ASSERT_TRUE(runUntil([&] { return c->_downloadCheckState == 2 || c->_downloadGaugeTarget > 0; }));
    delegate->applicationWillResignActive();
    waiter.join();  // the waiting loop ends at once; the run goes on
    EXPECT_EQ(screen(), nullptr);
    EXPECT_EQ(c->semaphore(), nullptr);

    delegate->applicationDidBecomeActive();
    ASSERT_NE(screen(), nullptr);
    EXPECT_EQ(screen()->drawState(), 4);  // rebuilt on the download page
    ASSERT_TRUE(runUntil([&] { return showsFullGauge(); })) << logs.text();
    EXPECT_EQ(listRequests(), 1);
    c->_dlWaitFlg = false;
    ASSERT_TRUE(runUntil([&] { return !homeLoads().empty(); })) << logs.text();
    backend->queues().drain();
    EXPECT_EQ(listRequests(), 1);
}

}  // namespace
