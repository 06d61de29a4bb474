#pragma once
// A horizontal slider: range, value, thumb and track pictures (the track left
// of the thumb may be stretchable with end caps), pictures at the minimum and
// maximum ends. A non-continuous slider reports one change when the thumb is
// released; a continuous one reports every move.
#include <functional>

#include "platform/ui/Image.h"
#include "platform/ui/View.h"

namespace platform::ui {

class Slider : public View {
public:
    using Action = std::function<void(Slider& sender)>;

    explicit Slider(Rect frame = {});

    float minimumValue() const { return min_; }
    float maximumValue() const { return max_; }
    void setRange(float minimum, float maximum);  // swapped when reversed
    float value() const { return value_; }
    void setValue(float value);  // clamped to the range; no action
    bool isContinuous() const { return continuous_; }
    void setContinuous(bool continuous) { continuous_ = continuous; }

    void setThumbImage(ImagePtr image) { thumb_ = std::move(image); setNeedsDisplay(); }
    void setMinimumTrackImage(ImagePtr image) { minTrack_ = std::move(image); setNeedsDisplay(); }
    void setMaximumTrackImage(ImagePtr image) { maxTrack_ = std::move(image); setNeedsDisplay(); }
    void setMinimumValueImage(ImagePtr image) { minImage_ = std::move(image); setNeedsDisplay(); }
    void setMaximumValueImage(ImagePtr image) { maxImage_ = std::move(image); setNeedsDisplay(); }
    const ImagePtr& thumbImage() const { return thumb_; }
    const ImagePtr& minimumTrackImage() const { return minTrack_; }
    const ImagePtr& maximumTrackImage() const { return maxTrack_; }
    const ImagePtr& minimumValueImage() const { return minImage_; }
    const ImagePtr& maximumValueImage() const { return maxImage_; }

    // Value-changed action.
    void setAction(Action action) { action_ = std::move(action); }
    bool isTracking() const { return tracking_; }

    // Layout, in bounds coordinates: the track between the end pictures and
    // the thumb's rectangle for the current value.
    Rect trackRect() const;
    Rect thumbRect() const;
    // The value a touch at x (bounds coordinates) selects.
    float valueForX(double x) const;

    void touchesBegan(const Touches& touches) override;
    void touchesMoved(const Touches& touches) override;
    void touchesEnded(const Touches& touches) override;
    void drawRect(Canvas& canvas) override;

private:
    void trackTo(const Touches& touches);
    Size thumbSize() const;

    float min_ = 0;
    float max_ = 1;
    float value_ = 0;
    float valueAtStart_ = 0;
    bool continuous_ = true;
    bool tracking_ = false;
    ImagePtr thumb_, minTrack_, maxTrack_, minImage_, maxImage_;
    Action action_;
};

}  // namespace platform::ui
