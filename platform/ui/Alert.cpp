#include "platform/ui/Alert.h"

#include "platform/Backend.h"
#include "platform/Log.h"
#include "platform/ui/Windowing.h"

namespace platform::ui {

Alert::Alert(std::string title, std::string message, AlertDelegate* delegate, std::vector<std::string> buttons)
    : title_(std::move(title)), message_(std::move(message)), delegate_(delegate), buttons_(std::move(buttons)) {}

bool Alert::show() {
    Backend* b = backend();
    if (!b) {
        log("Alert: no backend to show \"%s\"", title_.c_str());
        return false;
    }
    if (visible_) return true;
    std::shared_ptr<Alert> self = weak_from_this().lock();
    if (!self) {
        log("Alert: \"%s\" was not made with make_shared; not shown", title_.c_str());
        return false;
    }
    b->windowing().presentAlert(std::move(self));
    return true;
}

bool Alert::tapButton(int index) {
    if (!visible_ || index < 0 || index >= int(buttons_.size())) return false;
    auto self = weak_from_this().lock();  // the delegate may drop the last reference
    if (Backend* b = backend()) {
        b->windowing().dismissAlert(*this);
    }
    visible_ = false;
    if (delegate_) delegate_->alertClickedButtonAtIndex(*this, index);
    return true;
}

}  // namespace platform::ui
