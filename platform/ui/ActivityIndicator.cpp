#include "platform/ui/ActivityIndicator.h"

#include <cmath>

#include "platform/ui/Canvas.h"
#include "platform/ui/ViewAnimation.h"

namespace platform::ui {

namespace {
constexpr int kSpokes = 12;
constexpr double kTurnMs = 1000;  // one full turn
}  // namespace

ActivityIndicator::ActivityIndicator(Rect frame, ActivityIndicatorStyle style)
    : View(frame), style_(style), color_(style == ActivityIndicatorStyle::Gray ? Color::gray(0.5, 1) : Color::white()) {
    setUserInteractionEnabled(false);
    setHidden(true);  // stopped, and stopped spinners hide themselves
}

void ActivityIndicator::setColor(Color c) {
    color_ = c;
    setNeedsDisplay();
}

void ActivityIndicator::setHidesWhenStopped(bool hides) {
    hidesWhenStopped_ = hides;
    if (!animating_) setHidden(hides);
}

void ActivityIndicator::startAnimating() {
    if (animating_) return;
    animating_ = true;
    startedAt_ = animationClockMillis();
    setHidden(false);
    setNeedsDisplay();
}

void ActivityIndicator::stopAnimating() {
    if (!animating_) return;
    animating_ = false;
    if (hidesWhenStopped_) setHidden(true);
    setNeedsDisplay();
}

void ActivityIndicator::drawRect(Canvas& canvas) {
    Rect b = bounds();
    double radius = std::min(b.width(), b.height()) / 2;
    if (radius <= 0) return;
    // The brightest spoke moves one place every twelfth of a turn.
    int lead = animating_ ? int(std::fmod((animationClockMillis() - startedAt_) / (kTurnMs / kSpokes), kSpokes)) : 0;
    double spokeW = radius * 0.22, inner = radius * 0.45;
    Point c = b.center();
    for (int i = 0; i < kSpokes; ++i) {
        int age = (lead - i + kSpokes) % kSpokes;
        Color col = color_;
        col.alpha *= animating_ ? 1.0 - 0.75 * age / (kSpokes - 1) : 0.5;
        double angle = 2 * M_PI * i / kSpokes;
        canvas.save();
        canvas.translate(c.x, c.y);
        canvas.rotate(angle);
        canvas.setFillColor(col);
        canvas.fillRoundedRect({-spokeW / 2, -radius, spokeW, radius - inner}, spokeW / 2);
        canvas.restore();
    }
}

}  // namespace platform::ui
