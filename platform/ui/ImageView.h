#pragma once
// A view that shows one picture. Like the phone's image view it does not
// take touches until told to (setUserInteractionEnabled(true)).
#include "platform/ui/Image.h"
#include "platform/ui/View.h"

namespace platform::ui {

enum class ContentMode {
    ScaleToFill,  // stretch to the bounds
    Fit,          // whole picture, proportions kept, letterboxed
    Fill,         // bounds covered, proportions kept, cropped (clip to see the crop)
    Center,       // picture size, centred
};

class ImageView : public View {
public:
    explicit ImageView(Rect frame = {}, ImagePtr image = nullptr);

    const ImagePtr& image() const { return image_; }
    void setImage(ImagePtr image);
    ContentMode contentMode() const { return mode_; }
    void setContentMode(ContentMode mode);

    // Where the picture lands in the bounds for the current mode (empty when
    // there is no picture).
    Rect imageRect() const;

    void drawRect(Canvas& canvas) override;

private:
    ImagePtr image_;
    ContentMode mode_ = ContentMode::ScaleToFill;
};

// The rectangle of a picture of `content` size placed in `bounds` by `mode`.
Rect placeContent(Size content, const Rect& bounds, ContentMode mode);

}  // namespace platform::ui
