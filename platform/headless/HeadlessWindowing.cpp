#include "platform/headless/HeadlessWindowing.h"

#include <algorithm>
#include <cstdlib>

#include "platform/Log.h"
#include "platform/ui/Canvas.h"
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
    if (!loop_.isMainThread()) {
        log("Alert: refusing \"%s\" shown off the main thread", alert->title().c_str());
        return;
    }
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

namespace {

// Alerts appear in screenshots the way the phone shows them: a dimmed
// screen and a centred box with the title, the message and the buttons.
void paintAlert(ui::Canvas& canvas, const ui::Alert& alert, const ui::Rect& screen) {
    using ui::Color;
    canvas.setFillColor(Color::gray(0, 0.4));
    canvas.fillRect(screen);
    double w = std::min(270.0, screen.width() - 20), h = 150;
    ui::Rect box{(screen.width() - w) / 2, (screen.height() - h) / 2, w, h};
    canvas.setFillColor(Color::gray(0.97, 1));
    canvas.fillRoundedRect(box, 12);
    canvas.setFillColor(Color::black());
    canvas.drawTextInRect(alert.title(), ui::Font::boldSystem(16), {box.x() + 12, box.y() + 10, w - 24, 24},
                          ui::TextAlignment::Center, 1);
    canvas.drawTextInRect(alert.message(), ui::Font::system(12), {box.x() + 12, box.y() + 36, w - 24, 64},
                          ui::TextAlignment::Center, 4);
    canvas.setFillColor(Color::gray(0.75, 1));
    canvas.fillRect({box.x(), box.maxY() - 44, w, 0.5});
    std::string buttons;
    for (const auto& b : alert.buttons()) buttons += (buttons.empty() ? "" : "   ") + b;
    canvas.setFillColor({0.0, 0.48, 1.0, 1.0});
    canvas.drawTextInRect(buttons, ui::Font::system(16), {box.x(), box.maxY() - 44, w, 44}, ui::TextAlignment::Center, 1);
}

}  // namespace

ui::ImagePtr HeadlessWindowing::screenshot() {
    auto canvas = ui::Canvas::forBitmap(window_->frame().size, window_->scale());
    if (!canvas) return nullptr;
    ui::renderTree(*window_, *canvas);
    for (const auto& alert : alerts_) paintAlert(*canvas, *alert, window_->bounds());
    return canvas->snapshot();
}

bool HeadlessWindowing::writeScreenshot(const std::string& path) {
    ui::ImagePtr shot = screenshot();
    return shot && ui::writePng(*shot, path);
}

}  // namespace platform::headless
