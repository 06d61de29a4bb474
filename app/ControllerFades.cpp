// The curtain over the page: fades to opaque and back, each ending in its
// script whether the animation finished or was cut short.
#include "app/MyWebViewController.h"
#include "app/bridge/Callbacks.h"
#include "platform/ui/ViewAnimation.h"

namespace app {

void MyWebViewController::fade(const Query& q, double toAlpha, const char* script) {
    int millis = queryInt(q, "time");
    if (millis < 0) millis = 0;
    auto done = lifeline_.guard<bool>([this, script](bool) { evaluateScript(script); });
    if (!outlets_._viewFade) {
        // No curtain: the page still hears that its fade is over.
        afterDelay(millis, [done] { done(true); });
        return;
    }
    platform::ui::AnimationOptions options;
    options.duration = millis / 1000.0;
    options.delay = 0;
    options.curve = platform::ui::AnimationCurve::Linear;
    platform::ui::animateAlpha(*outlets_._viewFade, toAlpha, options, done);
}

void MyWebViewController::javascript_setFadeOut(const Query& q) { fade(q, 1.0, script::kEndFadeOut); }
void MyWebViewController::javascript_setFadeIn(const Query& q) { fade(q, 0.0, script::kEndFadeIn); }

}  // namespace app
