#pragma once
// A picture button: one picture per control state (states without their own
// picture show the normal one), enabled flag, and an action that runs when a
// touch that began on the button ends inside it.
#include <functional>
#include <map>

#include "platform/ui/Image.h"
#include "platform/ui/View.h"

namespace platform::ui {

enum class ControlState { Normal, Highlighted, Disabled, Selected };

class Button : public View {
public:
    using Action = std::function<void(Button& sender)>;

    explicit Button(Rect frame = {});

    void setImage(ImagePtr image, ControlState state = ControlState::Normal);
    // The state's own picture; null when it has none.
    ImagePtr imageForState(ControlState state) const;
    // What the button shows now (current state's picture, else the normal one).
    ImagePtr currentImage() const;

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool isHighlighted() const { return highlighted_; }
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);

    void setAction(Action action) { action_ = std::move(action); }
    // Runs the action as a completed tap would (if enabled).
    void sendAction();

    void touchesBegan(const Touches& touches) override;
    void touchesMoved(const Touches& touches) override;
    void touchesEnded(const Touches& touches) override;
    void drawRect(Canvas& canvas) override;

private:
    ControlState state() const;
    bool touchInside(const Touches& touches) const;

    std::map<ControlState, ImagePtr> images_;
    bool enabled_ = true;
    bool highlighted_ = false;
    bool selected_ = false;
    bool tracking_ = false;
    Action action_;
};

}  // namespace platform::ui
