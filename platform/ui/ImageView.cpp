#include "platform/ui/ImageView.h"

#include <algorithm>

#include "platform/ui/Canvas.h"

namespace platform::ui {

Rect placeContent(Size content, const Rect& bounds, ContentMode mode) {
    if (content.width <= 0 || content.height <= 0) return {};
    double w = content.width, h = content.height;
    switch (mode) {
        case ContentMode::ScaleToFill: return bounds;
        case ContentMode::Fit:
        case ContentMode::Fill: {
            double sx = bounds.width() / w, sy = bounds.height() / h;
            double s = mode == ContentMode::Fit ? std::min(sx, sy) : std::max(sx, sy);
            w *= s;
            h *= s;
            break;
        }
        case ContentMode::Center: break;
    }
    return {bounds.x() + (bounds.width() - w) / 2, bounds.y() + (bounds.height() - h) / 2, w, h};
}

ImageView::ImageView(Rect frame, ImagePtr image) : View(frame), image_(std::move(image)) {
    setUserInteractionEnabled(false);
}

void ImageView::setImage(ImagePtr image) {
    image_ = std::move(image);
    setNeedsDisplay();
}

void ImageView::setContentMode(ContentMode mode) {
    mode_ = mode;
    setNeedsDisplay();
}

Rect ImageView::imageRect() const {
    if (!image_) return {};
    return placeContent(image_->size(), bounds(), mode_);
}

void ImageView::drawRect(Canvas& canvas) {
    if (!image_) return;
    canvas.drawImage(*image_, imageRect());
}

}  // namespace platform::ui
