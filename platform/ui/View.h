#pragma once
// The retained view tree that stands in for the phone's windowing: views with
// frames, tags, visibility, opacity, colours and subviews in z-order (last is
// frontmost), hit testing and touch delivery along the responder chain.
//
// Views live on the main thread only and are shared by pointer: a superview
// keeps its subviews alive, owners keep the views they created. Make views
// with std::make_shared (animations need a weak reference to their view).
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/ui/Geometry.h"

namespace platform::ui {

class Canvas;
class View;
class Window;
struct ViewAnimationState;
using ViewPtr = std::shared_ptr<View>;

// One finger. `view` is the view the touch began in (hit tested then).
struct Touch {
    Point windowLocation;
    std::weak_ptr<View> view;
    // The location in the coordinates of `in`, or in window coordinates when
    // `in` is null.
    Point locationIn(const View* in) const;
};
using Touches = std::vector<Touch>;

// Receives touches; what it does not handle goes to its next responder.
class Responder {
public:
    virtual ~Responder() = default;
    virtual Responder* nextResponder() const { return nullptr; }
    virtual void touchesBegan(const Touches& touches);
    virtual void touchesMoved(const Touches& touches);
    virtual void touchesEnded(const Touches& touches);
};

// Kept as data for the owner's layout code; the tree applies it when a
// superview's size changes (setFrame), like the phone does.
enum AutoresizingMask : unsigned {
    AutoresizingNone = 0,
    AutoresizingFlexibleLeftMargin = 1 << 0,
    AutoresizingFlexibleWidth = 1 << 1,
    AutoresizingFlexibleRightMargin = 1 << 2,
    AutoresizingFlexibleTopMargin = 1 << 3,
    AutoresizingFlexibleHeight = 1 << 4,
    AutoresizingFlexibleBottomMargin = 1 << 5,
};

class View : public Responder, public std::enable_shared_from_this<View> {
public:
    explicit View(Rect frame = {});
    ~View() override;
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // Geometry. These are the model values; while an animation runs the
    // screen shows presentationFrame() / presentationAlpha().
    Rect frame() const { return frame_; }
    virtual void setFrame(Rect frame);
    Rect bounds() const { return {0, 0, frame_.size.width, frame_.size.height}; }
    Point center() const { return frame_.center(); }
    void setCenter(Point c);

    // The phone project's view shortcuts, with their historical names:
    // moveBy: SETS the origin, moveTo: ADDS to it; sizeBy: SETS the size,
    // sizeTo: ADDS to it. Callers rely on exactly this.
    void moveBy(Point origin);
    void moveTo(Point delta);
    void sizeBy(Size size);
    void sizeTo(Size delta);

    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);
    double alpha() const { return alpha_; }
    void setAlpha(double alpha);  // clamped to 0..1
    Color backgroundColor() const { return background_; }
    void setBackgroundColor(Color c);
    bool isOpaque() const { return opaque_; }
    void setOpaque(bool opaque) { opaque_ = opaque; }
    bool isUserInteractionEnabled() const { return interaction_; }
    void setUserInteractionEnabled(bool enabled) { interaction_ = enabled; }
    unsigned autoresizingMask() const { return autoresizing_; }
    void setAutoresizingMask(unsigned mask) { autoresizing_ = mask; }

    // Layer look.
    bool clipsToBounds() const { return clips_; }
    void setClipsToBounds(bool clips);
    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double r);
    double borderWidth() const { return borderWidth_; }
    void setBorderWidth(double w);
    Color borderColor() const { return borderColor_; }
    void setBorderColor(Color c);

    // Tree.
    View* superview() const { return superview_; }
    const std::vector<ViewPtr>& subviews() const { return subviews_; }
    void addSubview(const ViewPtr& view);  // frontmost; moves it from its old superview
    void insertSubview(const ViewPtr& view, std::size_t index);  // index past the end: frontmost
    void removeFromSuperview();
    void bringSubviewToFront(const View* view);
    void sendSubviewToBack(const View* view);
    // This view or the first descendant (depth first, back to front) with the tag.
    View* viewWithTag(int tag);
    bool isDescendantOf(const View* ancestor) const;  // true for itself
    Window* window() const;                           // null unless the root is a Window

    // Coordinates: from this view's bounds to another view's (null: window).
    Point convertPoint(Point p, const View* to) const;
    Point convertToRoot(Point p) const;
    Point convertFromRoot(Point p) const;

    // The deepest visible, interactive view under the point (in this view's
    // coordinates), or null. Hidden, nearly transparent (alpha < 0.01) and
    // non-interactive views and their subviews are skipped.
    virtual View* hitTest(Point p);
    virtual bool pointInside(Point p) const;

    // Touches go to the owning controller when one is set, else to the superview.
    Responder* nextResponder() const override;
    void setViewController(Responder* controller) { controller_ = controller; }

    // Custom drawing: called by the renderer after the background, in this
    // view's coordinates. Mark the view with setNeedsDisplay when it changed.
    virtual void drawRect(Canvas& canvas);
    void setNeedsDisplay() { needsDisplay_ = true; }
    bool needsDisplay() const { return needsDisplay_; }
    void clearNeedsDisplay() { needsDisplay_ = false; }

    // Animations (see ViewAnimation.h).
    double presentationAlpha() const;
    Rect presentationFrame() const;
    bool hasAnimations() const;
    // Stops every running animation at once; each one's completion is still
    // called, with finished = false.
    void removeAllAnimations();
    ViewAnimationState& animationState();

protected:
    virtual void didMoveToSuperview() {}

private:
    void detachFromSuperview();
    void resizeSubviews(Size oldSize);

    Rect frame_;
    int tag_ = 0;
    bool hidden_ = false;
    double alpha_ = 1;
    Color background_ = Color::clear();
    bool opaque_ = true;
    bool interaction_ = true;
    unsigned autoresizing_ = AutoresizingNone;
    bool clips_ = false;
    double cornerRadius_ = 0;
    double borderWidth_ = 0;
    Color borderColor_ = Color::black();
    bool needsDisplay_ = true;
    View* superview_ = nullptr;
    std::vector<ViewPtr> subviews_;
    Responder* controller_ = nullptr;
    std::unique_ptr<ViewAnimationState> animations_;
};

}  // namespace platform::ui
