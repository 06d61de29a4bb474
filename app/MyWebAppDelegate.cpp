#include "app/MyWebAppDelegate.h"

#include "app/Services.h"
#include "app/SettingsKeys.h"
#include "platform/Log.h"
#include "platform/SystemVersion.h"

namespace app {

MyWebAppDelegate::MyWebAppDelegate(AppConfig config)
    : viewController(std::make_unique<MyWebViewController>(std::move(config))) {}

bool MyWebAppDelegate::didFinishLaunching() {
    window = &services::windowing().mainWindow();
    window->addSubview(viewController->view());

    viewController->adConversionInit();
    viewController->adConversionRunInitial();

    services::trackers().call(platform::TrackerKind::InstallAttribution, "start",
                              {kInstallAttributionAppId, kInstallAttributionKey});

    auto& prefs = services::prefs();
    if (!prefs.boolForKey(kKeyFirstStarted)) {
        prefs.setBool(kKeyFirstStarted, true);
        prefs.flush();
        if (platform::currentSystemMajorVersion() > 5) {
            services::trackers().call(platform::TrackerKind::AppEvents, "logEvent", {kFirstLaunchEvent});
        }
    }

    registerForNotifications();
    return true;
}

void MyWebAppDelegate::applicationWillResignActive() { viewController->willResignActive(); }
void MyWebAppDelegate::applicationDidBecomeActive() { viewController->didBecomeActive(); }
void MyWebAppDelegate::applicationWillTerminate() { viewController->adConversionRelease(); }

// The notification and hand-over pieces belong to the sharing and
// notification subsystem; until it is built they only log.
bool MyWebAppDelegate::handleOpenURL(const std::string& url) {
    platform::log("delegate: handleOpenURL %s (not built in)", url.c_str());
    return false;
}

void MyWebAppDelegate::registerForNotifications() {
    platform::log("delegate: register for notifications, types 7 (not built in)");
}

void MyWebAppDelegate::didRegisterUserNotificationSettings() {
    platform::log("delegate: register for remote notifications (not built in)");
}

void MyWebAppDelegate::didRegisterForRemoteNotificationsWithDeviceToken(const std::string&) {
    platform::log("delegate: device token upload (not built in)");
}

}  // namespace app
