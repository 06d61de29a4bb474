#pragma once
// The controller's end-of-voice listeners. A streamed clip reports its end on
// the stream worker, a system-player clip on the main thread; either way the
// listener only posts its controller method to the main loop, once. The
// posted task runs the method only if the listener still exists then: an end
// that arrives after its listener was replaced (a new queue, a new title
// voice) or after the controller is gone is dropped.
//
// Listeners are made with std::make_shared: the posted end holds a weak
// reference to its listener. A listener remembers the player it is attached
// to and detaches itself when destroyed, so no player keeps reporting to a
// freed listener. The controller (and with it its listeners) goes before the
// sound cache that owns the players.
#include <atomic>
#include <memory>

#include "audio/BGMusic.h"
#include "platform/MainLoop.h"

namespace app {

class MyWebViewController;

class VoiceEndListener : public RK::BGMusic::EventListener,
                         public std::enable_shared_from_this<VoiceEndListener> {
public:
    using Method = void (MyWebViewController::*)();

    ~VoiceEndListener() override;
    VoiceEndListener(const VoiceEndListener&) = delete;
    VoiceEndListener& operator=(const VoiceEndListener&) = delete;

    void onFinished(RK::BGMusic* music) override;

    // Becomes player's listener (main thread).
    void attach(RK::BGMusic* player);
    // Stops being its player's listener; once this returns no call of
    // onFinished is running or will come.
    void detach();
    bool fired() const { return fired_.load(); }

protected:
    VoiceEndListener(MyWebViewController* controller, Method method);

private:
    MyWebViewController* controller_;  // not owned
    Method method_;
    platform::MainLoop* mainLoop_;     // taken on the main thread at construction
    RK::BGMusic* player_ = nullptr;    // main thread only
    std::atomic<bool> fired_{false};
};

// The maker-logo voice: its end leads to the caution and title pictures.
class LogoVoiceListener final : public VoiceEndListener {
public:
    LogoVoiceListener(MyWebViewController* controller);
};

// The title voice: its end lets the title accept a tap.
class TitleVoiceListener final : public VoiceEndListener {
public:
    TitleVoiceListener(MyWebViewController* controller);
};

// One clip of a page's voice queue: its end plays the next item.
class VoiceBgmListener final : public VoiceEndListener {
public:
    VoiceBgmListener(MyWebViewController* controller);
};

// Detaches and frees a listener; the pointer is null afterwards.
void releaseListener(std::shared_ptr<VoiceEndListener>& listener);

}  // namespace app
