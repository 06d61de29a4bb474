// dispatchAfterDownload: a download run on a background thread, and the
// waiting loop that ticks the loading screen 24 times a second until the
// run ends (and, on a first run, until the start button is pressed).
// Both are tasks of the controller's background work, so destroying the
// controller stops the loop, aborts the run's transfer and waits for both.
//
// Three threads share the controller's atomics: the download thread only
// stores what the loading screen should show (_downloadPageWanted,
// _downloadGaugeTarget); the main thread applies that to whichever screen
// exists at each tick, so a screen rebuilt after a stay in the background
// shows the right page and gauge. _downloadErrState is reset only when a
// run starts, and the run marks its own end (_downloadRunActive), so a run
// that ended while nobody waited is neither wiped nor started twice.
#include <chrono>

#include "app/MyWebViewController.h"
#include "app/Services.h"
#include "install/CGView.h"
#include "install/DownloadRun.h"
#include "platform/Log.h"

namespace app {
namespace {

using SteadyClock = std::chrono::steady_clock;
constexpr std::chrono::nanoseconds kTick{41666668};  // 1/24 s

class ControllerDownloadObserver final : public install::DownloadObserver {
public:
    explicit ControllerDownloadObserver(MyWebViewController& controller) : c_(controller) {}
    void showDownloadPage() override {
        c_._downloadPageWanted = true;
        c_._downloadCheckState = 2;
    }
    void setGaugeTarget(int percent) override { c_._downloadGaugeTarget = percent; }

private:
    MyWebViewController& c_;
};

// One tick of the loading screen (main thread).
void tickLoadingScreen(MyWebViewController& c) {
    auto screen = c.viewDraw();
    if (!screen) return;
    if (c._downloadPageWanted && screen->drawState() != 4) screen->setDrawState(4);
    screen->setDownloadParNum(c._downloadGaugeTarget);
    screen->update();
}

platform::Millis untilDeadline(SteadyClock::time_point deadline) {
    const auto left = std::chrono::duration_cast<platform::Millis>(deadline - SteadyClock::now());
    return left.count() > 0 ? left : platform::Millis(0);
}

}  // namespace

void MyWebViewController::dispatchAfterDownload() {
    platform::log("controller: dispatchAfterDownload (check state %d)", _downloadCheckState.load());
    auto waiting = std::make_shared<DispatchSemaphore>(0);
    setSemaphore(waiting);
    const bool first = services::prefs().boolForKey(install::kKeyDownloadFirst);

    int idle = _downloadCheckState.load();
    const bool mayStart = idle == 0 || idle == 3;
    if (mayStart && !_downloadRunActive.exchange(true)) {
        _downloadCheckState = 1;
        _downloadErrState = 0;
        _downloadPageWanted = false;
        _downloadGaugeTarget = 0;
        const std::string host = config_.downloadBaseUrl();
        const bool started = work_.start(
            services::queues(), platform::Queues::Priority::Background,
            [this, host, first, cancel = work_.cancelFlag()] {
                ControllerDownloadObserver observer(*this);
                _downloadErrState = install::downloadList(host, first, observer, cancel);
                if (!first) _dlWaitFlg = false;
                _downloadRunActive = false;
            });
        if (!started) _downloadRunActive = false;
    }

    std::weak_ptr<bool> alive = lifeline_.token();
    SteadyClock::time_point deadline;
    for (;;) {
        // The controller is going: it signals the semaphore too, but a loop
        // that has none any more must see it here.
        if (work_.cancelled()) break;
        deadline = SteadyClock::now() + kTick;
        if (!_dlWaitFlg || _downloadErrState != 0) {
            if (auto current = semaphore()) current->signal();
            _downloadCheckState = 3;
        }
        services::mainLoop().postAfter(untilDeadline(deadline), [this, alive] {
            auto token = alive.lock();
            if (token && *token) tickLoadingScreen(*this);
        });
        auto current = semaphore();
        if (!current) break;
        if (current->wait(untilDeadline(deadline))) break;
    }
    // Only this loop's own semaphore is retired: a newer loop may have put
    // its own in place meanwhile.
    {
        auto current = semaphore();
        if (current == waiting) {
            current->signal();
            setSemaphore(nullptr);
        }
    }
    if (work_.cancelled()) return;

    if (_downloadErrState != 0) {
        services::mainLoop().postAfter(untilDeadline(deadline), [this, alive] {
            auto token = alive.lock();
            if (token && *token) showAlert(kAlertDownloadFailed);
        });
        return;
    }
    _dlState = 0;
    if (_downloadCheckState == 3) afterDelay(100, [this] { webviewInit(""); });
}

}  // namespace app
