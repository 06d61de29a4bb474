#include "platform/ui/Slider.h"

#include <algorithm>

#include "platform/ui/Canvas.h"

namespace platform::ui {

namespace {
constexpr double kDefaultThumb = 23;  // drawn thumb without a picture
constexpr double kEndGap = 4;         // space between an end picture and the track
constexpr double kGrabSlop = 10;      // a touch this close to the thumb grabs it
}  // namespace

Slider::Slider(Rect frame) : View(frame) {}

void Slider::setRange(float minimum, float maximum) {
    if (minimum > maximum) std::swap(minimum, maximum);
    min_ = minimum;
    max_ = maximum;
    value_ = std::clamp(value_, min_, max_);
    setNeedsDisplay();
}

void Slider::setValue(float value) {
    value_ = std::clamp(value, min_, max_);
    setNeedsDisplay();
}

Size Slider::thumbSize() const { return thumb_ ? thumb_->size() : Size{kDefaultThumb, kDefaultThumb}; }

Rect Slider::trackRect() const {
    Rect b = bounds();
    double left = minImage_ ? minImage_->width() + kEndGap : 0;
    double right = maxImage_ ? maxImage_->width() + kEndGap : 0;
    double h = minTrack_ ? minTrack_->height() : (maxTrack_ ? maxTrack_->height() : 2);
    double w = std::max(0.0, b.width() - left - right);
    return {left, (b.height() - h) / 2, w, h};
}

Rect Slider::thumbRect() const {
    Rect track = trackRect();
    Size t = thumbSize();
    double span = std::max(0.0, track.width() - t.width);
    double f = max_ > min_ ? (value_ - min_) / (max_ - min_) : 0;
    return {track.x() + span * f, (frame().height() - t.height) / 2, t.width, t.height};
}

float Slider::valueForX(double x) const {
    Rect track = trackRect();
    double tw = thumbSize().width;
    double span = track.width() - tw;
    if (span <= 0) return min_;
    double f = std::clamp((x - track.x() - tw / 2) / span, 0.0, 1.0);
    return float(min_ + f * (max_ - min_));
}

void Slider::trackTo(const Touches& touches) {
    if (touches.empty()) return;
    float v = valueForX(touches.front().locationIn(this).x);
    if (v != value_) {
        value_ = v;
        setNeedsDisplay();
        if (continuous_ && action_) action_(*this);
    }
}

void Slider::touchesBegan(const Touches& touches) {
    if (touches.empty()) return;
    Rect t = thumbRect();
    Rect grab{t.x() - kGrabSlop, t.y() - kGrabSlop, t.width() + 2 * kGrabSlop, t.height() + 2 * kGrabSlop};
    if (!grab.contains(touches.front().locationIn(this))) return;  // the track itself does not jump
    tracking_ = true;
    valueAtStart_ = value_;
}

void Slider::touchesMoved(const Touches& touches) {
    if (tracking_) trackTo(touches);
}

void Slider::touchesEnded(const Touches& touches) {
    if (!tracking_) return;
    trackTo(touches);
    tracking_ = false;
    // A non-continuous slider tells of the change once, on release.
    if (!continuous_ && value_ != valueAtStart_ && action_) action_(*this);
}

void Slider::drawRect(Canvas& canvas) {
    Rect b = bounds();
    if (minImage_) canvas.drawImage(*minImage_, {0, (b.height() - minImage_->height()) / 2, minImage_->size().width, minImage_->size().height});
    if (maxImage_) {
        Size s = maxImage_->size();
        canvas.drawImage(*maxImage_, {b.width() - s.width, (b.height() - s.height) / 2, s.width, s.height});
    }
    Rect track = trackRect();
    Rect thumb = thumbRect();
    double split = thumb.center().x;
    Rect left{track.x(), track.y(), std::max(0.0, split - track.x()), track.height()};
    Rect right{split, track.y(), std::max(0.0, track.maxX() - split), track.height()};
    if (minTrack_) {
        canvas.drawImage(*minTrack_, {left.origin, {left.width(), minTrack_->size().height}});
    } else {
        canvas.setFillColor({0.0, 0.48, 1.0, 1.0});
        canvas.fillRect(left);
    }
    if (maxTrack_) {
        canvas.drawImage(*maxTrack_, {right.origin, {right.width(), maxTrack_->size().height}});
    } else {
        canvas.setFillColor(Color::gray(0.8, 1));
        canvas.fillRect(right);
    }
    if (thumb_) {
        canvas.drawImage(*thumb_, thumb);
    } else {
        canvas.setFillColor(Color::white());
        canvas.fillRoundedRect(thumb, thumb.width() / 2);
        canvas.strokeRoundedRect(thumb, thumb.width() / 2, 0.5, Color::gray(0.6, 1));
    }
}

}  // namespace platform::ui
