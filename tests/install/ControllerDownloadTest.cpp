// dispatchAfterDownload on a live controller against the demo server: the
// waiting loop, the loading screen's page and gauge, the start button wait,
// the communication alert, and a stay in the background mid-run.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "app/MyWebAppDelegate.h"
#include "app/MyWebViewController.h"
#include "install/CGView.h"
#include "platform/Log.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/HeadlessWebView.h"
#include "platform/headless/TemporaryHome.h"
#include "tools/demo-server/DemoServer.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

demoserver::Options demoOptions() {
    demoserver::Options options;
    options.contentDir = PELORA_DEMO_CONTENT_DIR;
    return options;
}

class ControllerDownload : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start());
        backend = std::make_unique<platform::headless::HeadlessBackend>(
            platform::headless::HeadlessBackend::Options{home.path(), {}, true});
        platform::setBackend(backend.get());
        backend->headlessWindowing().setScreenBounds({320, 568});
        backend->headlessWindowing().setWebViewsFetch(false);
        app::AppConfig config = app::defaultAppConfig();
        config.appHost = server.baseUrl();
        config.downloadHost = server.baseUrl();
        delegate = std::make_unique<app::MyWebAppDelegate>(config);
        c = delegate->viewController.get();
        delegate->didFinishLaunching();
    }
    void TearDown() override {
        if (waiter.joinable()) waiter.join();
        backend->queues().drain();
        delegate.reset();
        backend.reset();
    }

    // What the title tap does: the loading mark, then the run.
    void startRun() {
        auto screen = std::make_shared<CGView>(platform::ui::Rect{0, 0, 320, 568});
        screen->setDrawState(3);
        c->setViewDraw(screen);
        c->_viewDrawAddFlg = true;
        c->_dlWaitFlg = true;
        waiter = std::thread([this] { c->dispatchAfterDownload(); });
    }
    bool runUntil(const std::function<bool()>& done, int seconds = 20) {
        return backend->mainLoop().runUntil(done, std::chrono::seconds(seconds));
    }
    std::shared_ptr<CGView> screen() { return c->viewDraw(); }
    bool showsFullGauge() {
        auto s = screen();
        return s && s->drawState() == 4 && s->downloadParNum() == 100;
    }
    int listRequests() {
        int n = 0;
        for (const auto& line : server.requestLog()) n += line.find("/app_dl_list.php") != std::string::npos;
        return n;
    }
    std::vector<std::string> homeLoads() {
        std::vector<std::string> urls;
        if (auto* web = dynamic_cast<platform::headless::HeadlessWebView*>(c->_webView.get()))
            for (const auto& r : web->loadedRequests()) urls.push_back(r.url);
        return urls;
    }

    demoserver::DemoServer server{demoOptions()};
    platform::headless::TemporaryHome home;
    std::unique_ptr<platform::headless::HeadlessBackend> backend;
    std::unique_ptr<app::MyWebAppDelegate> delegate;
    app::MyWebViewController* c = nullptr;
    std::thread waiter;
    platform::LogCapture logs;
};

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
