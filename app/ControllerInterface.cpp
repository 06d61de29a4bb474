// The views of the main interface description: what a layout file gives the
// controller before viewDidLoad. Back to front: backdrop, footer bar and
// buttons, the web view (the avatar view goes in at index 8, just behind it),
// the page spinner, the title picture and its take-over button, the curtain
// and the content container.
#include <algorithm>

#include "app/MyWebViewController.h"
#include "app/PageLayout.h"
#include "app/Services.h"
#include "platform/Log.h"
#include "platform/ui/ImageCodec.h"

namespace app {
namespace {

using platform::ui::Rect;

// A container that lets touches through where none of its subviews is hit,
// so the title picture and the page under it stay tappable.
class PassThroughView final : public platform::ui::View {
public:
    using View::View;
    platform::ui::View* hitTest(platform::ui::Point p) override {
        platform::ui::View* hit = View::hitTest(p);
        return hit == this ? nullptr : hit;
    }
};

}  // namespace

void MyWebViewController::loadView() {
    Rect screen = services::windowing().mainScreenBounds();
    double W = screen.width(), H = screen.height();
    // The footer spans the page area's width, scaled like the page.
    PageLayout layout = computePageLayout(W, H);
    double s = layout.page.width / 320;
    double footerX = layout.page.x;
    double footerH = 53 * s;

    view_ = std::make_shared<platform::ui::View>(Rect(0, 0, W, H));
    view_->setBackgroundColor(platform::ui::Color::black());
    view_->setViewController(this);

    outlets_._imageWebviewBack = std::make_shared<platform::ui::ImageView>(Rect(0, 0, W, H),
                                                                  platform::ui::imageNamed("webview_back.png"));
    outlets_._imageWebviewBack->setContentMode(platform::ui::ContentMode::Fill);
    outlets_._imageWebviewBack->setClipsToBounds(true);
    view_->addSubview(outlets_._imageWebviewBack);

    outlets_._imageFooter = std::make_shared<platform::ui::ImageView>(Rect(footerX, H - footerH, 320 * s, footerH),
                                                             platform::ui::imageNamed("footer_back.png"));
    view_->addSubview(outlets_._imageFooter);

    std::shared_ptr<platform::ui::Button>* buttons[] = {&outlets_._btnFooterReturn, &outlets_._btnFooterGacha, &outlets_._btnFooterEvent,
                                                        &outlets_._btnFooterPelora, &outlets_._btnFooterShop, &outlets_._btnFooterMenu};
    void (MyWebViewController::*taps[])() = {&MyWebViewController::goFooterReturn, &MyWebViewController::goFooterGacha,
                                             &MyWebViewController::goFooterEvent,  &MyWebViewController::goFooterPelora,
                                             &MyWebViewController::goFooterShop,   &MyWebViewController::goFooterMenu};
    FooterLayouts pictures = defaultFooterLayouts();
    for (int i = 0; i < kFooterButtonCount; ++i) {
        double step = 320 * s / kFooterButtonCount;
        auto button = std::make_shared<platform::ui::Button>(
            Rect(footerX + step * i + (step - footerH) / 2, H - footerH, footerH, footerH));
        button->setImage(platform::ui::imageNamed(pictures[i][0][1]));
        auto tap = taps[i];
        button->setAction([this, tap](platform::ui::Button&) { (this->*tap)(); });
        view_->addSubview(button);
        *buttons[i] = button;
    }

    outlets_._webView = services::windowing().createWebView(Rect(0, 0, W, H));
    if (outlets_._webView) {
        outlets_._webView->setDelegate(this);
        view_->addSubview(outlets_._webView);
    } else {
        platform::log("controller: no web view on this platform");
    }

    outlets_._activityIndicator = std::make_shared<platform::ui::ActivityIndicator>(
        Rect(W / 2 - 18, H / 2 - 18, 37, 37), platform::ui::ActivityIndicatorStyle::WhiteLarge);
    view_->addSubview(outlets_._activityIndicator);

    outlets_._imageTitle = std::make_shared<platform::ui::ImageView>(Rect(0, 0, W, H));
    outlets_._imageTitle->setClipsToBounds(true);
    view_->addSubview(outlets_._imageTitle);

    outlets_._btnTitleHikitsugi = std::make_shared<platform::ui::Button>(Rect(W - 110, H - 50, 100, 40));
    outlets_._btnTitleHikitsugi->setImage(platform::ui::imageNamed("hikitsugi_button.png"));
    outlets_._btnTitleHikitsugi->setAction([this](platform::ui::Button&) { goTitleHikitsugi(); });
    outlets_._btnTitleHikitsugi->setHidden(true);
    view_->addSubview(outlets_._btnTitleHikitsugi);

    outlets_._viewFade = std::make_shared<platform::ui::View>(Rect(0, 0, W, H));
    outlets_._viewFade->setBackgroundColor(platform::ui::Color::black());
    outlets_._viewFade->setAlpha(0);
    outlets_._viewFade->setHidden(true);  // the game screen shows it
    view_->addSubview(outlets_._viewFade);

    outlets_._viewContents = std::make_shared<PassThroughView>(Rect(0, 0, W, H));
    view_->addSubview(outlets_._viewContents);
}

}  // namespace app
