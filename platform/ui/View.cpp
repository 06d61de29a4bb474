#include "platform/ui/View.h"

#include <algorithm>

#include "platform/ui/ViewAnimationState.h"
#include "platform/ui/Window.h"

namespace platform::ui {

Point Touch::locationIn(const View* in) const { return in ? in->convertFromRoot(windowLocation) : windowLocation; }

void Responder::touchesBegan(const Touches& t) {
    if (Responder* n = nextResponder()) n->touchesBegan(t);
}
void Responder::touchesMoved(const Touches& t) {
    if (Responder* n = nextResponder()) n->touchesMoved(t);
}
void Responder::touchesEnded(const Touches& t) {
    if (Responder* n = nextResponder()) n->touchesEnded(t);
}

View::View(Rect frame) : frame_(frame), animations_(std::make_unique<ViewAnimationState>()) {}

View::~View() {
    for (auto& child : subviews_) child->superview_ = nullptr;
}

void View::setFrame(Rect frame) {
    Size old = frame_.size;
    frame_ = frame;
    if (old != frame.size) {
        resizeSubviews(old);
        setNeedsDisplay();
    }
}

void View::setCenter(Point c) {
    setFrame({{c.x - frame_.width() / 2, c.y - frame_.height() / 2}, frame_.size});
}

void View::moveBy(Point origin) { setFrame({origin, frame_.size}); }
void View::moveTo(Point delta) { setFrame({{frame_.x() + delta.x, frame_.y() + delta.y}, frame_.size}); }
void View::sizeBy(Size size) { setFrame({frame_.origin, size}); }
void View::sizeTo(Size delta) {
    setFrame({frame_.origin, {frame_.width() + delta.width, frame_.height() + delta.height}});
}

void View::setHidden(bool hidden) { hidden_ = hidden; }
void View::setAlpha(double alpha) { alpha_ = std::clamp(alpha, 0.0, 1.0); }
void View::setBackgroundColor(Color c) { background_ = c; }
void View::setClipsToBounds(bool clips) { clips_ = clips; }
void View::setCornerRadius(double r) { cornerRadius_ = std::max(0.0, r); }
void View::setBorderWidth(double w) { borderWidth_ = std::max(0.0, w); }
void View::setBorderColor(Color c) { borderColor_ = c; }

void View::detachFromSuperview() {
    View* parent = superview_;
    if (!parent) return;
    superview_ = nullptr;
    auto& list = parent->subviews_;
    list.erase(std::remove_if(list.begin(), list.end(), [this](const ViewPtr& v) { return v.get() == this; }),
               list.end());
}

void View::addSubview(const ViewPtr& view) { insertSubview(view, subviews_.size()); }

void View::insertSubview(const ViewPtr& view, std::size_t index) {
    if (!view || view.get() == this || isDescendantOf(view.get())) return;  // no cycles
    ViewPtr keep = view;  // survives the detach below
    keep->detachFromSuperview();
    index = std::min(index, subviews_.size());
    subviews_.insert(subviews_.begin() + std::ptrdiff_t(index), keep);
    keep->superview_ = this;
    keep->didMoveToSuperview();
}

void View::removeFromSuperview() {
    if (!superview_) return;
    ViewPtr keep = weak_from_this().lock();  // the parent may hold the last reference
    detachFromSuperview();
    didMoveToSuperview();
}

void View::bringSubviewToFront(const View* view) {
    auto it = std::find_if(subviews_.begin(), subviews_.end(), [view](const ViewPtr& v) { return v.get() == view; });
    if (it == subviews_.end()) return;
    std::rotate(it, it + 1, subviews_.end());
}

void View::sendSubviewToBack(const View* view) {
    auto it = std::find_if(subviews_.begin(), subviews_.end(), [view](const ViewPtr& v) { return v.get() == view; });
    if (it == subviews_.end()) return;
    std::rotate(subviews_.begin(), it, it + 1);
}

View* View::viewWithTag(int tag) {
    if (tag_ == tag) return this;
    for (auto& child : subviews_) {
        if (View* found = child->viewWithTag(tag)) return found;
    }
    return nullptr;
}

bool View::isDescendantOf(const View* ancestor) const {
    for (const View* v = this; v; v = v->superview_) {
        if (v == ancestor) return true;
    }
    return false;
}

Window* View::window() const {
    const View* root = this;
    while (root->superview_) root = root->superview_;
    return dynamic_cast<Window*>(const_cast<View*>(root));
}

Point View::convertToRoot(Point p) const {
    for (const View* v = this; v->superview_; v = v->superview_) {
        p.x += v->frame_.x();
        p.y += v->frame_.y();
    }
    return p;
}

Point View::convertFromRoot(Point p) const {
    for (const View* v = this; v->superview_; v = v->superview_) {
        p.x -= v->frame_.x();
        p.y -= v->frame_.y();
    }
    return p;
}

Point View::convertPoint(Point p, const View* to) const {
    Point root = convertToRoot(p);
    return to ? to->convertFromRoot(root) : root;
}

bool View::pointInside(Point p) const { return bounds().contains(p); }

View* View::hitTest(Point p) {
    if (hidden_ || !interaction_ || alpha_ < 0.01) return nullptr;
    if (!pointInside(p)) return nullptr;
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
        const ViewPtr& child = *it;
        Point local{p.x - child->frame_.x(), p.y - child->frame_.y()};
        if (View* hit = child->hitTest(local)) return hit;
    }
    return this;
}

Responder* View::nextResponder() const {
    if (controller_) return controller_;
    return superview_;
}

void View::drawRect(Canvas&) {}

namespace {

// Shares a change of the superview's size among the flexible parts of one
// axis (leading margin, size, trailing margin) in proportion to their
// current lengths, evenly when they are all zero.
void resizeAxis(double& origin, double& length, double oldOuter, double newOuter, bool flexLead, bool flexSize,
                bool flexTrail) {
    double delta = newOuter - oldOuter;
    int count = int(flexLead) + int(flexSize) + int(flexTrail);
    if (delta == 0 || count == 0) return;
    double lead = origin, trail = oldOuter - origin - length;
    double total = (flexLead ? lead : 0) + (flexSize ? length : 0) + (flexTrail ? trail : 0);
    auto share = [&](double part) { return total > 0 ? delta * part / total : delta / count; };
    double dLead = flexLead ? share(lead) : 0;
    double dSize = flexSize ? share(length) : 0;
    origin += dLead;
    length = std::max(0.0, length + dSize);
}

}  // namespace

void View::resizeSubviews(Size oldSize) {
    for (auto& child : subviews_) {
        unsigned m = child->autoresizing_;
        if (m == AutoresizingNone) continue;
        Rect f = child->frame_;
        double x = f.x(), w = f.width(), y = f.y(), h = f.height();
        resizeAxis(x, w, oldSize.width, frame_.width(), m & AutoresizingFlexibleLeftMargin,
                   m & AutoresizingFlexibleWidth, m & AutoresizingFlexibleRightMargin);
        resizeAxis(y, h, oldSize.height, frame_.height(), m & AutoresizingFlexibleTopMargin,
                   m & AutoresizingFlexibleHeight, m & AutoresizingFlexibleBottomMargin);
        child->setFrame({x, y, w, h});
    }
}

}  // namespace platform::ui
