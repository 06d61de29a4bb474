// Launch, settings defaults, the start-up latch and the return from the
// background, through the headless backend.
#include <gtest/gtest.h>

#include "app/SettingsKeys.h"
#include "foundation/HttpClient.h"
#include "install/CGView.h"
#include "platform/AudioSession.h"
#include "tests/app/ControllerFixture.h"

namespace app::testing {
namespace {

using LaunchTest = ControllerFixture;

int trackerCalls(platform::headless::HeadlessBackend& b, const std::string& operation, const std::string& arg = "") {
    int n = 0;
    for (const auto& call : b.headlessTrackers().calls()) {
        if (call.operation != operation) continue;
        if (!arg.empty() && (call.arguments.empty() || call.arguments[0] != arg)) continue;
        ++n;
    }
    return n;
}

TEST_F(LaunchTest, RegisteredDefaultsAndAbsentKeys) {
    controller->view();
    EXPECT_FLOAT_EQ(prefs().floatForKey(kKeyBgmVal), 0.5f);
    EXPECT_FLOAT_EQ(prefs().floatForKey(kKeySeVal), 0.5f);
    EXPECT_FLOAT_EQ(prefs().floatForKey(kKeyVoiceVal), 1.0f);
    EXPECT_TRUE(prefs().boolForKey(kKeyDownloadFirst));
    EXPECT_FALSE(prefs().boolForKey(kKeyDlResetFlg));
    EXPECT_EQ(prefs().integerForKey(kKeyVoiceDlKey), 0);
    for (const char* key : {kKeyFirstStarted, kKeyPaymentUrl, kKeyPaymentPrm}) {
        EXPECT_FALSE(prefs().objectForKey(key).has_value()) << key;
    }
}

TEST_F(LaunchTest, FirstLaunchThenSecondLaunch) {
    launch();
    auto uuid = prefs().stringForKey(kKeyUuid);
    ASSERT_TRUE(uuid);
    EXPECT_EQ(uuid->size(), 36u);
    EXPECT_TRUE(prefs().boolForKey(kKeyFirstStarted));
    EXPECT_EQ(trackerCalls(*backend, "logEvent", kFirstLaunchEvent), 1);
    EXPECT_EQ(controller->titleFlowStarts(), 1);
    EXPECT_EQ(controller->_farstViewInitState, 0);

    // The settings file on disk carries both across a restart.
    restart();
    launch();
    EXPECT_EQ(prefs().stringForKey(kKeyUuid), uuid);
    EXPECT_EQ(trackerCalls(*backend, "logEvent", kFirstLaunchEvent), 0);
    EXPECT_EQ(trackerCalls(*backend, "start"), 1);
}

TEST_F(LaunchTest, FirstLaunchEventNeedsSystemSix) {
    backend->headlessDevice().setSystemVersion("5.1");
    launch();
    EXPECT_TRUE(prefs().boolForKey(kKeyFirstStarted));
    EXPECT_EQ(trackerCalls(*backend, "logEvent"), 0);
    EXPECT_EQ(trackerCalls(*backend, "activateApp"), 0);
}

TEST_F(LaunchTest, AdConversionTrackerLifecycle) {
    launch();
    EXPECT_NE(controller->_advertiser, nullptr);
    controller->adConversionInit();  // a second create is skipped
    EXPECT_EQ(trackerCalls(*backend, "create"), 1);
    EXPECT_EQ(trackerCalls(*backend, "runInitialConversion"), 1);
    delegate->applicationWillTerminate();
    EXPECT_EQ(controller->_advertiser, nullptr);
    delegate->applicationWillTerminate();
    EXPECT_EQ(trackerCalls(*backend, "release"), 1);
    controller->adConversionRunInitial();  // no tracker: nothing
    EXPECT_EQ(trackerCalls(*backend, "runInitialConversion"), 1);
}

TEST_F(LaunchTest, LoadAppRunsOnEveryReturnUntilTheTitleFlowWasEntered) {
    launch();
    delegate->applicationWillResignActive();
    delegate->applicationDidBecomeActive();
    EXPECT_EQ(controller->titleFlowStarts(), 2);

    controller->_tittleShowFlg = true;
    delegate->applicationWillResignActive();
    delegate->applicationDidBecomeActive();
    EXPECT_EQ(controller->titleFlowStarts(), 2);
    EXPECT_EQ(trackerCalls(*backend, "activateApp"), 3);
}

TEST_F(LaunchTest, LoadingScreenIsRebuiltWithTheStateOfTheCheck) {
    struct {
        int checkState;
        int drawState;
        bool dispatches;
    } cases[] = {{2, 4, true}, {1, 3, true}, {0, 2, false}, {7, 2, true}};
    launch();
    controller->_tittleShowFlg = true;
    for (const auto& c : cases) {
        int dispatches = controller->downloadDispatches();
        auto first = std::make_shared<CGView>(controller->outlets()._viewContents->frame());
        controller->outlets()._viewContents->addSubview(first);
        controller->setViewDraw(first);
        controller->_viewDrawAddFlg = true;
        auto semaphore = std::make_shared<DispatchSemaphore>();
        controller->setSemaphore(semaphore);
        controller->_downloadCheckState = c.checkState;

        delegate->applicationWillResignActive();
        EXPECT_EQ(first->superview(), nullptr);
        EXPECT_EQ(controller->viewDraw(), nullptr);
        EXPECT_EQ(controller->semaphore(), nullptr);
        EXPECT_TRUE(semaphore->wait(std::chrono::milliseconds(0)));   // signalled once
        EXPECT_FALSE(semaphore->wait(std::chrono::milliseconds(0)));  // and only once

        delegate->applicationDidBecomeActive();
        auto rebuilt = controller->viewDraw();
        ASSERT_NE(rebuilt, nullptr);
        EXPECT_EQ(rebuilt->drawState(), c.drawState) << c.checkState;
        EXPECT_EQ(rebuilt->tag(), kTagLoadingScreen);
        EXPECT_FALSE(rebuilt->isUserInteractionEnabled());
        EXPECT_EQ(rebuilt->superview(), controller->outlets()._viewContents.get());
        run(499);
        backend->queues().drain();
        EXPECT_EQ(controller->downloadDispatches(), dispatches);
        run(2);
        backend->queues().drain();
        EXPECT_EQ(controller->downloadDispatches(), dispatches + (c.dispatches ? 1 : 0)) << c.checkState;
        rebuilt->removeFromSuperview();
        controller->setViewDraw(nullptr);
    }
}

TEST_F(LaunchTest, ViewSetUpTagsAndHidesWhatItShould) {
    launch();
    EXPECT_EQ(controller->outlets()._imageTitle->tag(), kTagImageTitle);
    EXPECT_TRUE(controller->outlets()._imageTitle->isUserInteractionEnabled());
    EXPECT_EQ(controller->outlets()._viewContents->tag(), kTagViewContents);
    EXPECT_EQ(controller->outlets()._webView->autoresizingMask(), 63u);
    EXPECT_EQ(controller->outlets()._activityIndicator->autoresizingMask(), 45u);
    EXPECT_TRUE(controller->outlets()._activityIndicator->isHidden());
    EXPECT_FALSE(web()->bounces());
    EXPECT_TRUE(controller->_loadingContainer->isHidden());
    EXPECT_EQ(controller->_loadingContainer->superview(), controller->outlets()._viewContents.get());
    EXPECT_EQ(controller->view()->superview(), &windowing().mainWindow());
    ASSERT_NE(backend->audioSession(), nullptr);
    EXPECT_EQ(backend->audioSession()->category(), platform::AudioSession::Category::Ambient);
    // The web view's user agent carries the enciphered UUID already.
    EXPECT_EQ(web()->userAgent(), controller->userAgentString());
    EXPECT_EQ(RK::HttpClient::shared().defaultUserAgent(), controller->userAgentString());
    EXPECT_FALSE(logs.contains("cipher key"));
}

}  // namespace
}  // namespace app::testing
