#pragma once
// The root of a view tree on one screen. Touches enter here in window
// coordinates: a touch is hit tested when it begins, and that view receives
// its began, moved and ended phases (and passes on what it does not handle
// along the responder chain).
#include "platform/ui/View.h"

namespace platform::ui {

class Window : public View {
public:
    explicit Window(Rect frame = {}, double scale = 1.0);

    double scale() const { return scale_; }
    void setScale(double s) { scale_ = s > 0 ? s : 1.0; }

    // One finger. touchDown returns the view that was hit (null: none, the
    // touch then goes nowhere). Moves and ups without a down are ignored.
    View* touchDown(Point p);
    void touchMove(Point p);
    void touchUp(Point p);
    // Down and up at one point; returns the hit view.
    View* tap(Point p);

private:
    double scale_;
    std::weak_ptr<View> touched_;
    bool down_ = false;
};

}  // namespace platform::ui
