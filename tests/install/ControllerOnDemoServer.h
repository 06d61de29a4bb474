#pragma once
// A live controller on the headless backend (virtual time) whose two hosts
// are the demo server, for the title and download tests.
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

namespace installtest {

inline demoserver::Options demoOptions() {
    demoserver::Options options;
    options.contentDir = PELORA_DEMO_CONTENT_DIR;
    return options;
}

class ControllerOnDemoServer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start());
        backend = std::make_unique<platform::headless::HeadlessBackend>(
            platform::headless::HeadlessBackend::Options{home.path(), {}, true});
        platform::setBackend(backend.get());
        backend->headlessWindowing().setScreenBounds({320, 568});
        backend->headlessWindowing().setWebViewsFetch(true);  // pages really come from the demo server
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
        c->_tittleShowFlg = true;  // as titleInit left it
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
        if (auto* web = dynamic_cast<platform::headless::HeadlessWebView*>(c->outlets()._webView.get()))
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

}  // namespace installtest
