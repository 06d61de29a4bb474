// titleInit: the title set-up once the title picture is shown — the version
// check with the download host, then the empty loading screen over the
// content, and either the wait for a tap on the title or, when a page asked
// for a download, the download run at once.
#include <memory>
#include <mutex>
#include <thread>

#include "app/MyWebViewController.h"
#include "install/CGView.h"
#include "install/VersionCheck.h"
#include "platform/Log.h"

namespace app {
namespace {

// The checking box around the blocking version check. Its start runs on a
// detached thread; the lock makes a start that comes after the end a no-op,
// so the box never stays up once the check is over.
class CheckingBoxSpan {
public:
    explicit CheckingBoxSpan(MyWebViewController& controller) : state_(std::make_shared<State>()) {
        std::thread([state = state_, c = &controller] {
            std::lock_guard<std::mutex> lock(state->mutex);
            if (!state->ended) c->startLoading();
        }).detach();
    }
    void end(MyWebViewController& controller) {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->ended = true;
        controller.endLoading();
    }

private:
    struct State {
        std::mutex mutex;
        bool ended = false;
    };
    std::shared_ptr<State> state_;
};

}  // namespace

void MyWebViewController::titleInit() {
    _tittleShowFlg = true;
    _titleToucheState = 0;

    CheckingBoxSpan box(*this);
    const install::VersionOutcome outcome = install::checkVersion(config_.downloadBaseUrl());
    box.end(*this);
    switch (outcome) {
        case install::VersionOutcome::NoResponse:
            showAlert(kAlertVersionCheckFailed);
            return;
        case install::VersionOutcome::OpenPageHost:
            webviewInit("");
            return;
        case install::VersionOutcome::UpdateRequired:
            showAlert(kAlertUpdate);
            return;
        case install::VersionOutcome::Current:
            break;
    }
    startTitleMusicAndVoice();

    if (!viewDraw()) {
        _viewDrawAddFlg = true;
        const platform::ui::Rect frame = _viewContents ? _viewContents->frame() : platform::ui::Rect();
        auto screen = std::make_shared<CGView>(frame);
        screen->setTag(kTagLoadingScreen);
        screen->setBackgroundColor({1, 1, 1, 0});
        screen->setUserInteractionEnabled(false);
        if (_viewContents) _viewContents->addSubview(screen);
        setViewDraw(screen);
    }
    _dlWaitFlg = true;
    if (_dlState != 0) {
        if (_imageTitle) _imageTitle->setHidden(true);
        if (_btnTitleHikitsugi) _btnTitleHikitsugi->setHidden(true);
        viewDraw()->setDrawState(3);
        scheduleDispatchAfterDownload();
    } else if (_btnTitleHikitsugi) {
        _btnTitleHikitsugi->setHidden(false);
    }
}

}  // namespace app
