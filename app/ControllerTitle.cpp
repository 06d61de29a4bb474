// titleInit: the title set-up once the title picture is shown — the version
// check with the download host under the checking box, then the empty
// loading screen over the content, and either the wait for a tap on the
// title or, when a page asked for a download, the download run at once.
#include <memory>

#include "app/MyWebViewController.h"
#include "app/Services.h"
#include "install/CGView.h"
#include "install/VersionCheck.h"
#include "platform/Log.h"

namespace app {

void MyWebViewController::titleInit() {
    _tittleShowFlg = true;
    _titleToucheState = 0;

    // The check blocks the main thread until the answer comes, so the
    // checking box goes up first and the check waits for the next turn of
    // the main loop: the screen is drawn with the box before the request
    // goes out.
    startLoading();
    services::mainLoop().post([this, alive = aliveToken()] {
        const std::shared_ptr<bool> token = alive.lock();
        if (token && *token) titleAfterVersionCheck();
    });
}

void MyWebViewController::titleAfterVersionCheck() {
    const install::VersionOutcome outcome = install::checkVersion(config_.downloadBaseUrl());
    endLoading();
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
        const platform::ui::Rect frame = outlets_._viewContents ? outlets_._viewContents->frame() : platform::ui::Rect();
        auto screen = std::make_shared<CGView>(frame);
        screen->setTag(kTagLoadingScreen);
        screen->setBackgroundColor({1, 1, 1, 0});
        screen->setUserInteractionEnabled(false);
        if (outlets_._viewContents) outlets_._viewContents->addSubview(screen);
        setViewDraw(screen);
    }
    _dlWaitFlg = true;
    if (_dlState != 0) {
        if (outlets_._imageTitle) outlets_._imageTitle->setHidden(true);
        if (outlets_._btnTitleHikitsugi) outlets_._btnTitleHikitsugi->setHidden(true);
        viewDraw()->setDrawState(3);
        scheduleDispatchAfterDownload();
    } else if (outlets_._btnTitleHikitsugi) {
        outlets_._btnTitleHikitsugi->setHidden(false);
    }
}

}  // namespace app
