#include "platform/ui/Label.h"

namespace platform::ui {

Label::Label(Rect frame) : View(frame) { setUserInteractionEnabled(false); }

void Label::setText(std::string text) {
    text_ = std::move(text);
    setNeedsDisplay();
}
void Label::setFont(Font font) {
    font_ = std::move(font);
    setNeedsDisplay();
}
void Label::setTextColor(Color c) {
    color_ = c;
    setNeedsDisplay();
}
void Label::setShadowColor(Color c) {
    shadowColor_ = c;
    setNeedsDisplay();
}
void Label::setShadowOffset(Point offset) {
    shadowOffset_ = offset;
    setNeedsDisplay();
}
void Label::setNumberOfLines(int lines) {
    lines_ = lines < 0 ? 0 : lines;
    setNeedsDisplay();
}
void Label::setAlignment(TextAlignment a) {
    alignment_ = a;
    setNeedsDisplay();
}

void Label::drawRect(Canvas& canvas) {
    if (text_.empty()) return;
    Rect box = bounds();
    if (shadowColor_.alpha > 0) {
        canvas.setFillColor(shadowColor_);
        Rect shadowBox{box.x() + shadowOffset_.x, box.y() + shadowOffset_.y, box.width(), box.height()};
        canvas.drawTextInRect(text_, font_, shadowBox, alignment_, lines_);
    }
    canvas.setFillColor(color_);
    canvas.drawTextInRect(text_, font_, box, alignment_, lines_);
}

}  // namespace platform::ui
