#include "install/CGView.h"

CGView::CGView(platform::ui::Rect frame) : View(frame) {}

void CGView::update() { drawInitState_.store(drawState_.load()); }

platform::ui::Rect CGView::getTouchNextArea() const {
    std::lock_guard<std::mutex> lock(areaMutex_);
    return touchNextArea_;
}

void CGView::setTouchNextArea(platform::ui::Rect area) {
    std::lock_guard<std::mutex> lock(areaMutex_);
    touchNextArea_ = area;
}

void CGView::touchesBegan(const platform::ui::Touches&) { animeNext(); }
void CGView::touchesMoved(const platform::ui::Touches&) {}
void CGView::touchesEnded(const platform::ui::Touches&) {}

void CGView::animeNext() {
    int still = 0;
    moveFlg_.compare_exchange_strong(still, 1);
}

void CGView::animePrev() {
    int still = 0;
    moveFlg_.compare_exchange_strong(still, -1);
}
