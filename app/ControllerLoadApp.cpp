// loadApp: the start (or restart) of the title sequence — the title image
// alone on screen, scaled for the screen's shape, the loading screen gone,
// the logo and title voices chosen, and the maker logo fading in, whose
// voice leads on to the caution and title pictures and titleInit.
#include "app/MyWebViewController.h"
#include "app/Services.h"
#include "install/CGView.h"
#include "platform/ui/ImageCodec.h"
#include "platform/ui/ViewAnimation.h"
#include "platform/ui/Windowing.h"

namespace app {
namespace {

void hide(platform::ui::View* view) {
    if (view) view->setHidden(true);
}

// Fill (cropping) on screens wider than 320 points or not taller than 480;
// the whole picture on a 320-point-wide tall screen.
platform::ui::ContentMode titleScaling(const platform::ui::Rect& screen) {
    const bool fill = screen.width() > 320 || screen.height() <= 480;
    return fill ? platform::ui::ContentMode::Fill : platform::ui::ContentMode::Fit;
}

}  // namespace

void MyWebViewController::loadApp() {
    if (outlets_._imageTitle) outlets_._imageTitle->setHidden(false);
    hide(outlets_._btnTitleHikitsugi.get());
    hide(outlets_._viewFade.get());
    hide(outlets_._imageWebviewBack.get());
    hide(outlets_._webView.get());
    hide(outlets_._imageFooter.get());
    for (platform::ui::Button* button : outlets_.footerButtons()) hide(button);

    const platform::ui::ContentMode mode = titleScaling(services::windowing().mainScreenBounds());
    if (outlets_._imageTitle) outlets_._imageTitle->setContentMode(mode);
    if (outlets_._imageWebviewBack) outlets_._imageWebviewBack->setContentMode(mode);

    if (auto screen = viewDraw()) {
        screen->removeFromSuperview();
        setViewDraw(nullptr);
    }
    chooseTitleVoices();

    if (!_fadeStart) {
        _fadeStart = true;
        if (outlets_._imageTitle) {
            outlets_._imageTitle->setImage(platform::ui::imageNamed("tarvellogo.png"));
            outlets_._imageTitle->setAlpha(0);
            platform::ui::AnimationOptions options;
            options.duration = 1.0;
            options.delay = 0;
            options.curve = platform::ui::AnimationCurve::Linear;
            platform::ui::animateAlpha(*outlets_._imageTitle, 1.0, options, [alive = aliveToken(), this](bool) {
                const std::shared_ptr<bool> token = alive.lock();
                if (token && *token) startLogoVoice();
            });
        } else {
            startLogoVoice();
        }
    }
    // A page asked for a download: the logo was skipped beforehand.
    if (_dlState != 0) titleInit();
}

}  // namespace app
