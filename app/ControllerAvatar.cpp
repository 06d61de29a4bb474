// The avatar view's load reports: whether the page shows the avatar, and
// the enable and load callbacks the page waits for.
#include "app/MyWebViewController.h"
#include "app/bridge/Callbacks.h"

namespace app {

void MyWebViewController::mesh2dDidStartLoad() {
    _mesh2dControl = 1;
    if (outlets_._webView) outlets_._webView->setBackgroundColor(platform::ui::Color::clear());
    if (!_glView) return;
    if (_glView->enable() && _glView->avatarType() && _glView->page()) {
        evaluateScript(script::kEnableCallbackOn);
        _glView->resume();
    } else {
        evaluateScript(script::kEnableCallbackOff);
        _glView->pause();
    }
}

void MyWebViewController::mesh2dDidFinishLoad() {
    if (!_glView) return;
    if (_glView->enable() && _glView->avatarType() && _glView->page() && _glView->loadResult()) {
        _glView->resume();
        evaluateScript(script::kLoadCallbackOn);
    } else {
        _glView->pause();
        evaluateScript(script::kLoadCallbackOff);
    }
}

}  // namespace app
