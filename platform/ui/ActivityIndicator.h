#pragma once
// A spinner: twelve spokes turning once a second while animating; hidden
// while stopped when hidesWhenStopped is set (the default).
#include "platform/ui/View.h"

namespace platform::ui {

enum class ActivityIndicatorStyle { WhiteLarge, White, Gray };

class ActivityIndicator : public View {
public:
    explicit ActivityIndicator(Rect frame = {}, ActivityIndicatorStyle style = ActivityIndicatorStyle::White);

    ActivityIndicatorStyle style() const { return style_; }
    Color color() const { return color_; }
    void setColor(Color c);
    bool hidesWhenStopped() const { return hidesWhenStopped_; }
    void setHidesWhenStopped(bool hides);

    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return animating_; }

    void drawRect(Canvas& canvas) override;

private:
    ActivityIndicatorStyle style_;
    Color color_;
    bool hidesWhenStopped_ = true;
    bool animating_ = false;
    double startedAt_ = 0;
};

}  // namespace platform::ui
