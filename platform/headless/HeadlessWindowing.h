#pragma once
// Windowing of a headless run: one main window over a screen of a chosen
// size (320 x 568 points unless PELORA_SCREEN_SIZE="WxH" or setScreenBounds
// says otherwise), the scripted web views, alerts kept in a list that tests
// read and tap, and screenshots of any moment as PNG.
#include <memory>
#include <string>
#include <vector>

#include "platform/MainLoop.h"
#include "platform/headless/HeadlessWebView.h"
#include "platform/ui/Alert.h"
#include "platform/ui/Image.h"
#include "platform/ui/Window.h"
#include "platform/ui/Windowing.h"

namespace platform::headless {

class HeadlessWindowing final : public ui::Windowing {
public:
    HeadlessWindowing(MainLoop& loop, Queues& queues);

    ui::Window& mainWindow() override { return *window_; }
    ui::Rect mainScreenBounds() const override { return screen_; }
    double mainScreenScale() const override { return window_->scale(); }
    std::shared_ptr<WebView> createWebView(ui::Rect frame) override;
    void presentAlert(std::shared_ptr<ui::Alert> alert) override;
    void dismissAlert(const ui::Alert& alert) override;
    std::vector<std::shared_ptr<ui::Alert>> visibleAlerts() const override { return alerts_; }

    // Resizes the screen and the main window with it.
    void setScreenBounds(ui::Size points);
    void setScreenScale(double scale) { window_->setScale(scale); }

    // Every alert ever shown, in order (also those already dismissed).
    const std::vector<std::shared_ptr<ui::Alert>>& alertHistory() const { return history_; }
    // Taps the button of the frontmost alert; false when none is shown.
    bool tapFrontAlert(int buttonIndex = 0);

    // The web views made so far that are still alive, oldest first.
    std::vector<std::shared_ptr<HeadlessWebView>> webViews() const;
    // Whether new web views fetch their pages (true by default).
    void setWebViewsFetch(bool fetch) { webViewsFetch_ = fetch; }

    // The main window as it looks now, at the screen scale.
    ui::ImagePtr screenshot();
    bool writeScreenshot(const std::string& path);

private:
    MainLoop& loop_;
    Queues& queues_;
    ui::Rect screen_;
    std::shared_ptr<ui::Window> window_;
    std::vector<std::shared_ptr<ui::Alert>> alerts_;
    std::vector<std::shared_ptr<ui::Alert>> history_;
    std::vector<std::weak_ptr<HeadlessWebView>> webViews_;
    bool webViewsFetch_ = true;
};

// "640x960" -> 640 x 960; false for anything else (sizes must be 1..10000).
bool parseScreenSize(const std::string& text, ui::Size& out);

}  // namespace platform::headless
