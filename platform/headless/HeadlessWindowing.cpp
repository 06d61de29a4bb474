#include "platform/headless/HeadlessWindowing.h"

#include <algorithm>
#include <cstdlib>

#include "platform/Log.h"
#include "platform/ui/ImageCodec.h"
#include "platform/ui/Renderer.h"

namespace platform::headless {

bool parseScreenSize(const std::string& text, ui::Size& out) {
    std::size_t x = text.find('x');
    if (x == std::string::npos || x == 0 || x + 1 >= text.size()) return false;
    auto number = [](const std::string& s, double& v) {
        if (s.empty() || s.size() > 5 || s.find_first_not_of("0123456789") != std::string::npos) return false;
        v = std::stod(s);
        return v >= 1 && v <= 10000;
    };
    double w = 0, h = 0;
    if (!number(text.substr(0, x), w) || !number(text.substr(x + 1), h)) return false;
    out = {w, h};
    return true;
}

HeadlessWindowing::HeadlessWindowing(MainLoop& loop, Queues& queues)
    : loop_(loop), queues_(queues), screen_(0, 0, 320, 568) {
    if (const char* env = std::getenv("PELORA_SCREEN_SIZE")) {
        ui::Size s;
        if (parseScreenSize(env, s)) {
            screen_.size = s;
        } else {
            log("Windowing: ignoring PELORA_SCREEN_SIZE=%s (expected WxH)", env);
        }
    }
    window_ = std::make_shared<ui::Window>(screen_, 1.0);
    window_->setBackgroundColor(ui::Color::black());
}

void HeadlessWindowing::setScreenBounds(ui::Size points) {
    screen_ = {0, 0, points.width, points.height};
    window_->setFrame(screen_);
}

std::shared_ptr<WebView> HeadlessWindowing::createWebView(ui::Rect frame) {
    auto view = std::make_shared<HeadlessWebView>(frame, loop_, queues_);
    view->setFetchesPages(webViewsFetch_);
    webViews_.erase(std::remove_if(webViews_.begin(), webViews_.end(), [](const auto& w) { return w.expired(); }),
                    webViews_.end());
    webViews_.push_back(view);
    return view;
}

std::vector<std::shared_ptr<HeadlessWebView>> HeadlessWindowing::webViews() const {
    std::vector<std::shared_ptr<HeadlessWebView>> out;
    for (const auto& w : webViews_) {
        if (auto v = w.lock()) out.push_back(v);
    }
    return out;
}

void HeadlessWindowing::presentAlert(std::shared_ptr<ui::Alert> alert) {
    if (!alert || alert->isVisible()) return;
    alert->setVisible(true);
    log("Alert (tag %d): %s / %s", alert->tag(), alert->title().c_str(), alert->message().c_str());
    alerts_.push_back(alert);
    history_.push_back(std::move(alert));
}

void HeadlessWindowing::dismissAlert(const ui::Alert& alert) {
    alerts_.erase(std::remove_if(alerts_.begin(), alerts_.end(), [&](const auto& a) { return a.get() == &alert; }),
                  alerts_.end());
}

bool HeadlessWindowing::tapFrontAlert(int buttonIndex) {
    if (alerts_.empty()) return false;
    std::shared_ptr<ui::Alert> front = alerts_.back();
    return front->tapButton(buttonIndex);
}

ui::ImagePtr HeadlessWindowing::screenshot() { return ui::renderToImage(*window_, window_->scale()); }

bool HeadlessWindowing::writeScreenshot(const std::string& path) {
    ui::ImagePtr shot = screenshot();
    return shot && ui::writePng(*shot, path);
}

}  // namespace platform::headless
