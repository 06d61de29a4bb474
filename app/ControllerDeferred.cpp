// Entry points that belong to subsystems built later (title and installation
// flow, audio, purchases, sharing and notifications). Each logs one line and
// does nothing until its subsystem replaces it here.
#include "app/MyWebViewController.h"
#include "platform/Log.h"

namespace app {

void MyWebViewController::loadApp() { platform::log("controller: loadApp (title flow not built in)"); }
void MyWebViewController::resetChangeBGMVol() { _changeBGMVol = 100; }
void MyWebViewController::initAudio() { platform::log("controller: initAudio (audio not built in)"); }
void MyWebViewController::sliderChanged(platform::ui::Slider& slider) {
    platform::log("controller: sliderChanged tag %d value %.2f (audio not built in)", slider.tag(), slider.value());
}
void MyWebViewController::javascript_playBGM(const Query&) { platform::log("controller: javascript_playBGM: (audio not built in)"); }
void MyWebViewController::javascript_stopBGM() { platform::log("controller: javascript_stopBGM (audio not built in)"); }
void MyWebViewController::javascript_playSE(const Query&) { platform::log("controller: javascript_playSE: (audio not built in)"); }
void MyWebViewController::javascript_stopSE() { platform::log("controller: javascript_stopSE (audio not built in)"); }
void MyWebViewController::javascript_playVoice(const Query&) {
    platform::log("controller: javascript_playVoice: (audio not built in)");
}
void MyWebViewController::javascript_stopVoice() { platform::log("controller: javascript_stopVoice (audio not built in)"); }
void MyWebViewController::javascript_volChange(const Query& q) {
    _optionCastId = queryInt(q, "castId");
    addOptionView();
}
void MyWebViewController::javascript_pushInfo(const Query&) {
    platform::log("controller: javascript_pushInfo: (notifications not built in)");
}
void MyWebViewController::javascript_pushInfoCancel(const Query&) {
    platform::log("controller: javascript_pushInfoCancel: (notifications not built in)");
}
void MyWebViewController::javascript_postTwitter(const Query&) {
    platform::log("controller: javascript_postTwitter: (sharing not built in)");
}
void MyWebViewController::javascript_imgSave(const Query&) {
    platform::log("controller: javascript_imgSave: (sharing not built in)");
}
void MyWebViewController::callPayment(const std::string& productId) {
    platform::log("controller: callPayment %s (store not built in)", productId.c_str());
}
void MyWebViewController::observePaymentQueue() {
    platform::log("controller: observePaymentQueue (store not built in)");
}

}  // namespace app
