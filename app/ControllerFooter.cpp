// The footer's pictures and taps, the account take-over button and going
// back one page.
#include "app/MyWebViewController.h"
#include "app/bridge/Callbacks.h"
#include "platform/Log.h"
#include "platform/ui/ImageCodec.h"

namespace app {

void MyWebViewController::setFooterPicture(int button, int column) {
    auto buttons = outlets_.footerButtons();
    if (button < 0 || button >= kFooterButtonCount || !buttons[button]) return;
    std::string name = footerPicture(_footerLayouts, button, _footerSetType[button], _footerEventFlg[button], column);
    buttons[button]->setImage(name.empty() ? nullptr : platform::ui::imageNamed(name));
}

void MyWebViewController::javascript_footerEnable(const Query& q) {
    _footerEnable = queryFlag(q, "flg");
    for (int i = 0; i < kFooterButtonCount; ++i) setFooterPicture(i, _footerEnable ? 0 : 1);
}

void MyWebViewController::javascript_footerEnableFlg(const Query& q) { _footerEnable = queryFlag(q, "flg"); }

void MyWebViewController::javascript_footerImgFlg(const Query& q) {
    int id = queryInt(q, "id");
    if (id < 0 || id >= kFooterButtonCount) return;
    setFooterPicture(id, queryFlag(q, "flg") ? 0 : 1);
}

void MyWebViewController::javascript_setFooterEventFlg(const Query& q) {
    int id = queryInt(q, "id");
    if (id < 0 || id >= kFooterButtonCount) {
        platform::log("footer: event flag for button %d ignored (buttons are 0..5)", id);
        return;
    }
    _footerEventFlg[id] = queryFlag(q, "flg");
}

void MyWebViewController::javascript_changeFooterImgHomeChar(const Query& q) {
    _footerSetType[kFooterPelora] = queryFlag(q, "flg") ? 2 : 0;
    setFooterPicture(kFooterPelora, _footerEnable ? 0 : 1);
}

void MyWebViewController::footerTap(int number) {
    if (!outlets_._webView || !_footerEnable) return;
    evaluateScript(script::footerFunc(number));
}

void MyWebViewController::goFooterReturn() { footerTap(kFooterReturn); }
void MyWebViewController::goFooterGacha() { footerTap(kFooterGacha); }
void MyWebViewController::goFooterEvent() { footerTap(kFooterEvent); }
void MyWebViewController::goFooterPelora() { footerTap(kFooterPelora); }
void MyWebViewController::goFooterShop() { footerTap(kFooterShop); }
void MyWebViewController::goFooterMenu() { footerTap(kFooterMenu); }

void MyWebViewController::goTitleHikitsugi() {
    if (!outlets_._webView) return;
    webviewInit(config_.appBaseUrl() + "/index.php?new_change_flg=1");
}

void MyWebViewController::javascript_webviewBack() {
    if (!outlets_._webView || !outlets_._webView->isUserInteractionEnabled() || !outlets_._webView->canGoBack()) return;
    outlets_._webView->goBack();
}

}  // namespace app
