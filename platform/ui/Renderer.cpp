#include "platform/ui/Renderer.h"

namespace platform::ui {

namespace {

void renderView(View& view, Canvas& canvas, bool isRoot) {
    if (view.isHidden()) return;
    double alpha = view.presentationAlpha();
    if (alpha <= 0) return;
    Rect f = view.presentationFrame();
    Rect b{0, 0, f.width(), f.height()};
    double radius = view.cornerRadius();

    canvas.save();
    if (!isRoot) canvas.translate(f.x(), f.y());
    // A translucent view fades with its subviews as one picture.
    bool layered = alpha < 1;
    if (layered) canvas.beginLayer();

    Color bg = view.backgroundColor();
    if (bg.alpha > 0) {
        canvas.setFillColor(bg);
        canvas.fillRoundedRect(b, radius);
    }
    bool clips = view.clipsToBounds();
    if (clips) {
        canvas.save();
        canvas.clipToRoundedRect(b, radius);
    }
    view.drawRect(canvas);
    view.clearNeedsDisplay();
    // Copy: a view's drawing must not invalidate the iteration.
    std::vector<ViewPtr> children = view.subviews();
    for (const ViewPtr& child : children) renderView(*child, canvas, false);
    if (clips) canvas.restore();
    if (view.borderWidth() > 0) canvas.strokeRoundedRect(b, radius, view.borderWidth(), view.borderColor());

    if (layered) canvas.endLayer(alpha);
    canvas.restore();
}

}  // namespace

void renderTree(View& root, Canvas& canvas) { renderView(root, canvas, true); }

ImagePtr renderToImage(View& root, double scale) {
    Rect f = root.presentationFrame();
    auto canvas = Canvas::forBitmap(f.size, scale);
    if (!canvas) return nullptr;
    renderTree(root, *canvas);
    return canvas->snapshot();
}

}  // namespace platform::ui
