// Entry points that belong to subsystems built later (title and installation
// flow, audio, purchases, sharing and notifications). Each logs one line and
// does nothing until its subsystem replaces it here.
#include "app/MyWebViewController.h"
#include "platform/Log.h"

namespace app {

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
