#include "platform/ui/Button.h"

#include "platform/ui/Canvas.h"
#include "platform/ui/ImageView.h"

namespace platform::ui {

Button::Button(Rect frame) : View(frame) {}

void Button::setImage(ImagePtr image, ControlState state) {
    if (image) {
        images_[state] = std::move(image);
    } else {
        images_.erase(state);
    }
    setNeedsDisplay();
}

ImagePtr Button::imageForState(ControlState state) const {
    auto it = images_.find(state);
    return it == images_.end() ? nullptr : it->second;
}

ControlState Button::state() const {
    if (!enabled_) return ControlState::Disabled;
    if (highlighted_) return ControlState::Highlighted;
    if (selected_) return ControlState::Selected;
    return ControlState::Normal;
}

ImagePtr Button::currentImage() const {
    if (ImagePtr own = imageForState(state())) return own;
    return imageForState(ControlState::Normal);
}

void Button::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (!enabled) highlighted_ = tracking_ = false;
    setNeedsDisplay();
}

void Button::setSelected(bool selected) {
    selected_ = selected;
    setNeedsDisplay();
}

void Button::sendAction() {
    if (enabled_ && action_) {
        Action copy = action_;  // the action may replace itself
        copy(*this);
    }
}

bool Button::touchInside(const Touches& touches) const {
    return !touches.empty() && bounds().contains(touches.front().locationIn(this));
}

// A disabled button lets its touches through to the next responder.
void Button::touchesBegan(const Touches& touches) {
    if (!enabled_) return View::touchesBegan(touches);
    tracking_ = true;
    highlighted_ = true;
    setNeedsDisplay();
}

void Button::touchesMoved(const Touches& touches) {
    if (!tracking_) return View::touchesMoved(touches);
    highlighted_ = touchInside(touches);
    setNeedsDisplay();
}

void Button::touchesEnded(const Touches& touches) {
    if (!tracking_) return View::touchesEnded(touches);
    tracking_ = false;
    highlighted_ = false;
    setNeedsDisplay();
    if (touchInside(touches)) sendAction();
}

void Button::drawRect(Canvas& canvas) {
    ImagePtr image = currentImage();
    if (!image) return;
    // The picture keeps its size, centred; one larger than the button shrinks to fit.
    Size s = image->size();
    bool fits = s.width <= frame().width() && s.height <= frame().height();
    Rect r = placeContent(s, bounds(), fits ? ContentMode::Center : ContentMode::Fit);
    canvas.drawImage(*image, r);
}

}  // namespace platform::ui
