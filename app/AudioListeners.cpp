#include "app/AudioListeners.h"

#include "app/MyWebViewController.h"
#include "platform/Backend.h"
#include "platform/Log.h"

namespace app {

VoiceEndListener::VoiceEndListener(MyWebViewController* controller, Method method)
    : controller_(controller), method_(method) {
    platform::Backend* backend = platform::backend();
    mainLoop_ = backend ? &backend->mainLoop() : nullptr;
}

VoiceEndListener::~VoiceEndListener() { detach(); }

void VoiceEndListener::onFinished(RK::BGMusic*) {
    if (!controller_ || !mainLoop_ || fired_.exchange(true)) return;
    // The controller may free this listener (or itself) before the task
    // runs: the task holds a weak reference only, and keeps the listener
    // alive while the method runs.
    mainLoop_->post([self = weak_from_this(), controller = controller_, method = method_] {
        const std::shared_ptr<VoiceEndListener> listener = self.lock();
        if (listener) (controller->*method)();
    });
}

void VoiceEndListener::attach(RK::BGMusic* player) {
    if (player_ == player) return;
    detach();
    player_ = player;
    if (player_) player_->setListener(this);
}

void VoiceEndListener::detach() {
    if (!player_) return;
    // The player may meanwhile report to another listener: leave that one.
    if (player_->getListener() == this) player_->setListener(nullptr);
    player_ = nullptr;
}

LogoVoiceListener::LogoVoiceListener(MyWebViewController* controller)
    : VoiceEndListener(controller, &MyWebViewController::logoVoiceEnd) {}

TitleVoiceListener::TitleVoiceListener(MyWebViewController* controller)
    : VoiceEndListener(controller, &MyWebViewController::titleVoiceEnd) {}

VoiceBgmListener::VoiceBgmListener(MyWebViewController* controller)
    : VoiceEndListener(controller, &MyWebViewController::playVoice) {}

void releaseListener(std::shared_ptr<VoiceEndListener>& listener) {
    if (!listener) return;
    listener->detach();
    listener.reset();
}

}  // namespace app
