#pragma once
// The backend's windowing facility: the main window and screen, web views,
// and where alerts appear.
#include <memory>
#include <vector>

#include "platform/ui/Geometry.h"

namespace platform {
class WebView;
}

namespace platform::ui {

class Alert;
class Window;

class Windowing {
public:
    virtual ~Windowing() = default;

    virtual Window& mainWindow() = 0;
    // The main screen in points, origin (0, 0).
    virtual Rect mainScreenBounds() const = 0;
    virtual double mainScreenScale() const = 0;

    // A new web view (not yet in any tree); null when the backend cannot make one.
    virtual std::shared_ptr<WebView> createWebView(Rect frame) = 0;

    // Alerts on screen, oldest first. present marks the alert visible;
    // dismiss takes it off screen.
    virtual void presentAlert(std::shared_ptr<Alert> alert) = 0;
    virtual void dismissAlert(const Alert& alert) = 0;
    virtual std::vector<std::shared_ptr<Alert>> visibleAlerts() const = 0;
};

}  // namespace platform::ui
