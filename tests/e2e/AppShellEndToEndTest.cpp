// The client against a real HTTP server on 127.0.0.1: the web view fetches
// the game's pages with the client's user agent, a page's bridge call is
// answered, and a host that does not answer ends in the load-failure alert.
#include <gtest/gtest.h>

#include "app/MyWebAppDelegate.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/TemporaryHome.h"
#include "tests/support/LoopbackServer.h"

namespace {

class AppShellEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        server.server().Get("/", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<html><body>home</body></html>", "text/html");
        });
        server.server().Get("/index.php", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<html><body>take over</body></html>", "text/html");
        });
        ASSERT_TRUE(server.start());
        backend = std::make_unique<platform::headless::HeadlessBackend>(
            platform::headless::HeadlessBackend::Options{.home = home.path(), .bundle = {}, .virtualTime = false});
        platform::setBackend(backend.get());
    }
    void TearDown() override {
        backend->queues().drain();
        delegate.reset();
        backend.reset();
    }
    void launch(const std::string& host) {
        app::AppConfig config = app::defaultAppConfig();
        config.appHost = host;
        delegate = std::make_unique<app::MyWebAppDelegate>(config);
        delegate->didFinishLaunching();
        delegate->applicationDidBecomeActive();
    }
    app::MyWebViewController& controller() { return *delegate->viewController; }
    platform::headless::HeadlessWebView& web() {
        return static_cast<platform::headless::HeadlessWebView&>(*controller().outlets()._webView);
    }
    bool waitForLoad() {
        return backend->mainLoop().runUntil([this] { return !web().isLoading(); }, std::chrono::seconds(20));
    }

    testsupport::LoopbackServer server;
    platform::headless::TemporaryHome home;
    std::unique_ptr<platform::headless::HeadlessBackend> backend;
    std::unique_ptr<app::MyWebAppDelegate> delegate;
};

TEST_F(AppShellEndToEnd, PagesArriveWithTheClientsUserAgent) {
    launch(server.baseUrl());
    web().setScriptAnswerer([](const std::string&) { return "S-1"; });
    controller().webviewInit("");
    ASSERT_TRUE(waitForLoad());
    EXPECT_EQ(web().lastStatusCode(), 200);
    backend->mainLoop().runFor(std::chrono::milliseconds(20));
    EXPECT_EQ(controller()._session_id, "S-1");

    auto requests = server.requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().path, "/");
    std::string agent = requests.back().header("User-Agent");
    EXPECT_EQ(agent, controller().userAgentString());
    EXPECT_NE(agent.find("/TARVEL_UA/iPhone/PELORA_ver01:"), std::string::npos);

    // A bridge call from the served page: the take-over page opens.
    web().clearRecords();
    controller().goTitleHikitsugi();
    ASSERT_TRUE(waitForLoad());
    EXPECT_EQ(server.requests().back().path, "/index.php");
    EXPECT_EQ(server.requests().back().query, "new_change_flg=1");
    EXPECT_TRUE(backend->headlessWindowing().visibleAlerts().empty());
}

TEST_F(AppShellEndToEnd, AHostThatDoesNotAnswerShowsTheFailureAlert) {
    testsupport::ClosedPort closed;
    launch("127.0.0.1:" + std::to_string(closed.port()));
    controller().webviewInit("");
    ASSERT_TRUE(waitForLoad());
    backend->mainLoop().runFor(std::chrono::milliseconds(20));
    auto alerts = backend->headlessWindowing().visibleAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0]->tag(), app::kAlertLoadFailed);
}

}  // namespace
