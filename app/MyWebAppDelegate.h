#pragma once
// The application delegate: receives the system's application events and
// hands the interesting ones to the main controller.
#include <memory>
#include <string>

#include "app/AppConfig.h"
#include "app/MyWebViewController.h"
#include "platform/ui/Window.h"

namespace app {

class MyWebAppDelegate {
public:
    explicit MyWebAppDelegate(AppConfig config = defaultAppConfig());

    // application:didFinishLaunchingWithOptions:
    bool didFinishLaunching();
    void applicationWillResignActive();
    void applicationDidBecomeActive();
    void applicationWillTerminate();
    // application:handleOpenURL: (the application's own scheme)
    bool handleOpenURL(const std::string& url);
    // The notification registration answers.
    void didRegisterUserNotificationSettings();
    void didRegisterForRemoteNotificationsWithDeviceToken(const std::string& token);

    platform::ui::Window* window = nullptr;  // the backend's main window
    std::unique_ptr<MyWebViewController> viewController;

private:
    void registerForNotifications();
};

}  // namespace app
