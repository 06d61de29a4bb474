#pragma once
// A text label drawn with pango: font, colour, optional shadow, lines.
#include <string>

#include "platform/ui/Canvas.h"
#include "platform/ui/View.h"

namespace platform::ui {

class Label : public View {
public:
    explicit Label(Rect frame = {});

    const std::string& text() const { return text_; }
    void setText(std::string text);
    const Font& font() const { return font_; }
    void setFont(Font font);
    Color textColor() const { return color_; }
    void setTextColor(Color c);
    Color shadowColor() const { return shadowColor_; }
    void setShadowColor(Color c);  // clear: no shadow
    Point shadowOffset() const { return shadowOffset_; }
    void setShadowOffset(Point offset);
    int numberOfLines() const { return lines_; }
    void setNumberOfLines(int lines);  // 0: as many as fit
    TextAlignment alignment() const { return alignment_; }
    void setAlignment(TextAlignment a);

    void drawRect(Canvas& canvas) override;

private:
    std::string text_;
    Font font_ = Font::system(17);
    Color color_ = Color::black();
    Color shadowColor_ = Color::clear();
    Point shadowOffset_{0, -1};
    int lines_ = 1;
    TextAlignment alignment_ = TextAlignment::Left;
};

}  // namespace platform::ui
