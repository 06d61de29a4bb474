// Touch routing: the controller hears every touch its views pass on. The
// view in which a touch began decides what its end does.
#include "app/MyWebViewController.h"
#include "install/CGView.h"
#include "platform/ui/ImageCodec.h"

namespace app {

void MyWebViewController::touchesBegan(const platform::ui::Touches& touches) {
    if (auto screen = viewDraw()) screen->touchesBegan(touches);
}

void MyWebViewController::touchesMoved(const platform::ui::Touches& touches) {
    if (auto screen = viewDraw()) screen->touchesMoved(touches);
}

void MyWebViewController::touchesEnded(const platform::ui::Touches& touches) {
    if (touches.empty()) return;
    const platform::ui::Touch& touch = touches.front();
    platform::ui::Point location = touch.locationIn(outlets_._viewContents.get());
    auto began = touch.view.lock();
    int tag = began ? began->tag() : 0;

    if (tag == kTagOptionOverlay) removeOptionView();

    if (tag == kTagImageTitle && _titleToucheFlg) {
        _titleToucheFlg = false;
        if (_titleToucheState == 2) {
            if (outlets_._imageTitle) outlets_._imageTitle->setHidden(true);
            if (auto screen = viewDraw()) screen->setDrawState(3);
            scheduleDispatchAfterDownload();
        } else if (_titleToucheState == 1) {
            if (outlets_._imageTitle) {
                outlets_._imageTitle->removeAllAnimations();
                outlets_._imageTitle->setAlpha(1);
                outlets_._imageTitle->setImage(platform::ui::imageNamed("title_back.jpg"));
            }
            _titleToucheState = 2;
            _titleToucheFlg = true;
        }
    }

    if (auto screen = viewDraw()) {
        screen->touchesEnded(touches);
        if (screen->getTouchNextArea().containsInclusive(location)) _dlWaitFlg = false;
    }
}

}  // namespace app
