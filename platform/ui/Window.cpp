#include "platform/ui/Window.h"

namespace platform::ui {

Window::Window(Rect frame, double scale) : View(frame), scale_(scale > 0 ? scale : 1.0) {}

View* Window::touchDown(Point p) {
    View* hit = hitTest(p);
    down_ = true;
    touched_.reset();
    if (!hit) return nullptr;
    touched_ = hit->weak_from_this();
    ViewPtr target = touched_.lock();
    if (target) target->touchesBegan({Touch{p, touched_}});
    return hit;
}

void Window::touchMove(Point p) {
    if (!down_) return;
    if (ViewPtr target = touched_.lock()) target->touchesMoved({Touch{p, touched_}});
}

void Window::touchUp(Point p) {
    if (!down_) return;
    down_ = false;
    if (ViewPtr target = touched_.lock()) target->touchesEnded({Touch{p, touched_}});
    touched_.reset();
}

View* Window::tap(Point p) {
    View* hit = touchDown(p);
    touchUp(p);
    return hit;
}

}  // namespace platform::ui
