#pragma once
// A controller on the headless backend with virtual time, a fresh app home,
// the build's bundle pictures, web views that do not fetch (the test ends
// each load), and avatar views the test can steer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/AvatarView.h"
#include "app/MyWebAppDelegate.h"
#include "app/MyWebViewController.h"
#include "platform/Log.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/TemporaryHome.h"

namespace app::testing {

// Records what the controller and the bridge ask of it.
class FakeAvatarView final : public AvatarView {
public:
    explicit FakeAvatarView(platform::ui::Rect frame) : view_(std::make_shared<platform::ui::View>(frame)) {}

    std::shared_ptr<platform::ui::View> view() override { return view_; }
    void setDelegate(AvatarViewDelegate* d) override { delegate = d; }
    int enable() const override { return enable_; }
    int avatarType() const override { return type_; }
    int page() const override { return page_; }
    void setPage(int p) override { page_ = p; }
    int loadResult() const override { return result_; }
    void pause() override { note("pause"); }
    void resume() override { note("resume"); }
    ~FakeAvatarView() override { note("destroyed"); }
    void load(const Query& q) override { record("load:", q); }
    void change(const Query& q) override { record("change:", q); }
    void motion(const Query& q) override { record("motion:", q); }
    void switchState(const Query& q) override { record("switchState:", q); }
    void cache(const Query& q) override { record("cache:", q); }

    void record(const char* name, const Query& q) {
        note(name);
        lastQuery = q;
    }
    void note(const char* what) {
        calls.push_back(what);
        if (mirror) mirror->push_back(what);
    }

    std::shared_ptr<platform::ui::View> view_;
    AvatarViewDelegate* delegate = nullptr;
    int enable_ = 0, type_ = 0, page_ = 0, result_ = 0;
    std::vector<std::string> calls;
    Query lastQuery;
    std::vector<std::string>* mirror = nullptr;  // outlives the view
};

class ControllerFixture : public ::testing::Test {
protected:
    // Screen size in points; override before SetUp through the constructor.
    explicit ControllerFixture(platform::ui::Size screen = {320, 568}) : screen_(screen) {}

    void SetUp() override { start(); }
    void TearDown() override { stop(); }

    // Builds backend, delegate and controller (the same home survives a restart).
    void start() {
        backend = std::make_unique<platform::headless::HeadlessBackend>(
            platform::headless::HeadlessBackend::Options{.home = home.path(), .bundle = {}, .virtualTime = true});
        platform::setBackend(backend.get());
        backend->headlessWindowing().setScreenBounds(screen_);
        backend->headlessWindowing().setWebViewsFetch(false);
        delegate = std::make_unique<MyWebAppDelegate>(config);
        controller = delegate->viewController.get();
        controller->setAvatarViewFactory([this](platform::ui::Rect frame) {
            auto avatar = std::make_unique<FakeAvatarView>(frame);
            avatars.push_back(avatar.get());
            return avatar;
        });
    }
    void stop() {
        if (!backend) return;
        backend->queues().drain();
        delegate.reset();
        controller = nullptr;
        avatars.clear();
        backend.reset();
    }
    void restart() {
        stop();
        start();
    }

    // Launch and first activation.
    void launch() {
        delegate->didFinishLaunching();
        delegate->applicationDidBecomeActive();
    }
    // The game screen with the home page loaded.
    void openGameScreen(const std::string& url = "") {
        launch();
        controller->webviewInit(url);
        web()->finishLoad();
        run(10);
    }

    platform::headless::HeadlessWebView* web() {
        return static_cast<platform::headless::HeadlessWebView*>(controller->outlets()._webView.get());
    }
    platform::Preferences& prefs() { return backend->preferences(); }
    platform::headless::HeadlessWindowing& windowing() { return backend->headlessWindowing(); }
    platform::headless::HeadlessSystem& system() { return backend->headlessSystem(); }
    FakeAvatarView* avatar() { return avatars.empty() ? nullptr : avatars.back(); }
    void run(int millis) { backend->mainLoop().runFor(std::chrono::milliseconds(millis)); }

    // A page of the application host offers a navigation.
    bool navigate(const std::string& url, const std::string& body = "") {
        platform::UrlRequest request = platform::UrlRequest::get(url);
        if (!body.empty()) {
            request.method = "POST";
            request.body = body;
        }
        return web()->navigate(request, body.empty() ? platform::NavigationType::LinkClicked
                                                     : platform::NavigationType::FormSubmitted);
    }
    std::vector<std::string> scripts() { return web()->evaluatedScripts(); }
    bool sawScript(const std::string& script) {
        for (const auto& s : scripts()) {
            if (s == script) return true;
        }
        return false;
    }
    std::string appBase() const { return controller->config().appBaseUrl(); }

    platform::headless::TemporaryHome home;
    AppConfig config = defaultAppConfig();  // what start() gives the delegate
    std::unique_ptr<platform::headless::HeadlessBackend> backend;
    std::unique_ptr<MyWebAppDelegate> delegate;
    MyWebViewController* controller = nullptr;
    std::vector<FakeAvatarView*> avatars;
    platform::LogCapture logs;

private:
    platform::ui::Size screen_;
};

}  // namespace app::testing
