// The volume dialog: dimming overlay, panel, captions, three sliders and the
// close button, built on demand inside the content container.
#include "app/MyWebViewController.h"
#include "app/OptionViewLayout.h"
#include "app/Services.h"
#include "platform/ui/ImageCodec.h"

namespace app {

using platform::ui::Rect;

platform::ui::ImagePtr MyWebViewController::addOptionView_LoadImage(const std::string& name, double sx, double sy,
                                                                    int stretch) {
    auto picture = platform::ui::imageNamed(name);
    if (!picture) return nullptr;
    auto scaled = picture->scaledTo({picture->width() * sx, picture->height() * sy});
    if (!scaled) return nullptr;
    if (stretch == 1) scaled = scaled->withCapInsets({0, 5, 0, 5});
    return scaled;
}

void MyWebViewController::addOptionView() {
    view();
    if (!outlets_._viewContents) return;
    auto overlay = std::make_shared<platform::ui::View>(outlets_._viewContents->frame());
    overlay->setTag(kTagOptionOverlay);
    overlay->setBackgroundColor({0.3, 0.3, 0.3, 0.5});
    outlets_._viewContents->addSubview(overlay);

    double webW = outlets_._webView ? outlets_._webView->frame().width() : 0;
    double webH = outlets_._webView ? outlets_._webView->frame().height() : 0;
    LayoutRect p = optionPanelFrame(webW, webH);
    auto panel = std::make_shared<platform::ui::View>(Rect(p.x, p.y, p.width, p.height));
    panel->setTag(kTagOptionPanel);
    outlets_._viewContents->addSubview(panel);

    panel->addSubview(std::make_shared<platform::ui::ImageView>(Rect(0, 0, kOptionPanelWidth, kOptionPanelHeight),
                                                                platform::ui::imageNamed("sound_background.png")));
    for (const auto& row : kOptionSliders) {
        auto caption = addOptionView_LoadImage(row.caption, 0.5, 0.5, 0);
        Rect frame(kOptionLeft, row.captionY, caption ? caption->width() : 0, caption ? caption->height() : 0);
        panel->addSubview(std::make_shared<platform::ui::ImageView>(frame, caption));
    }
    auto& prefs = services::prefs();
    for (const auto& row : kOptionSliders) {
        auto slider =
            std::make_shared<platform::ui::Slider>(Rect(kOptionLeft, row.sliderY, kOptionSliderWidth, kOptionSliderHeight));
        slider->setTag(row.tag);
        slider->setRange(0, 1);
        slider->setValue(prefs.floatForKey(row.key));
        slider->setContinuous(false);
        slider->setThumbImage(addOptionView_LoadImage("gage_button.png", 0.5, 0.5, 0));
        slider->setMaximumTrackImage(addOptionView_LoadImage("gage_background.png", 0.5, 0.5, 0));
        slider->setMinimumTrackImage(addOptionView_LoadImage("gage_front.png", 0.5, 0.5, 1));
        slider->setMinimumValueImage(addOptionView_LoadImage("gage_min.png", 0.5, 0.5, 0));
        slider->setMaximumValueImage(addOptionView_LoadImage("gage_max.png", 0.5, 0.5, 0));
        slider->setAction([this](platform::ui::Slider& s) { sliderChanged(s); });
        panel->addSubview(slider);
    }

    auto close = addOptionView_LoadImage("fin_font.png", 0.5, 0.5, 0);
    auto original = platform::ui::imageNamed("fin_font.png");
    LayoutRect b = optionCloseButtonFrame(original ? original->width() : 0, original ? original->height() : 0);
    auto button = std::make_shared<platform::ui::Button>(Rect(b.x, b.y, b.width, b.height));
    button->setTag(kTagOptionClose);
    button->setImage(close);
    button->setAction([this](platform::ui::Button& sender) { buttonAction(sender); });
    panel->addSubview(button);
}

void MyWebViewController::removeOptionView() {
    if (!outlets_._viewContents) return;
    std::vector<platform::ui::ViewPtr> doomed;
    for (const auto& child : outlets_._viewContents->subviews()) {
        if (child->tag() == kTagOptionPanel || child->tag() == kTagOptionOverlay) doomed.push_back(child);
    }
    for (const auto& child : doomed) child->removeFromSuperview();
}

void MyWebViewController::buttonAction(platform::ui::View& sender) {
    if (sender.tag() == kTagOptionClose) removeOptionView();
}

}  // namespace app
