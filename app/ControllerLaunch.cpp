// Construction, view set-up, activation and the tracking services.
#include <chrono>

#include "app/MyWebViewController.h"
#include "app/Services.h"
#include "app/SettingsKeys.h"
#include "foundation/HttpClient.h"
#include "install/CGView.h"
#include "platform/AudioSession.h"
#include "platform/Log.h"
#include "platform/SystemVersion.h"

namespace app {
namespace {

bool isDeploymentKey(const std::string& key) {
    if (key.size() != 16) return false;
    for (char c : key) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace

MyWebViewController::MyWebViewController(AppConfig config)
    : config_(std::move(config)), avatarFactory_(makePlaceholderAvatarView) {}

MyWebViewController::~MyWebViewController() {
    // The download run and its waiting loop use this controller: they are
    // told to stop (the waiting loop is woken, the transfer in flight is
    // aborted) and are over before anything here goes.
    work_.cancel();
    if (auto waiting = semaphore()) waiting->signal();
    work_.join();
    // What they or anyone posted to the main loop now finds the token gone.
    lifeline_.end();
    if (checkingWanted_ && platform::backend()) services::system().setNetworkActivityIndicatorVisible(false);
    for (auto& alert : alerts_) alert->setDelegate(nullptr);
    if (outlets_._webView) outlets_._webView->setDelegate(nullptr);
    if (_glView) _glView->setDelegate(nullptr);
    if (view_) view_->setViewController(nullptr);
    if (auto* b = platform::backend()) {
        if (auto* session = b->audioSession(); session && session->delegate() == &audioSessionDelegate_) {
            session->setDelegate(nullptr);
        }
    }
}

std::shared_ptr<platform::ui::View> MyWebViewController::view() {
    if (!view_) {
        loadView();
        viewDidLoad();
    }
    return view_;
}

void MyWebViewController::viewDidLoad() {
    registerSettingsDefaults(services::prefs());
    if (!isDeploymentKey(config_.secretKey)) {
        platform::log("controller: the cipher key is not 16 digits; identifiers are sent empty");
    }

    _dlState = 0;
    setViewDraw(nullptr);
    _downloadCheckState = 0;
    _voiceListener = nullptr;
    _tittleShowFlg = false;
    _fadeStart = false;
    _titleToucheFlg = false;

    resetChangeBGMVol();

    if (outlets_._imageTitle) {
        outlets_._imageTitle->setTag(kTagImageTitle);
        outlets_._imageTitle->setUserInteractionEnabled(true);
    }
    if (outlets_._viewContents) outlets_._viewContents->setTag(kTagViewContents);
    if (outlets_._webView) {
        outlets_._webView->setUserInteractionEnabled(true);
        outlets_._webView->setAutoresizingMask(63);
        outlets_._webView->setBounces(false);
    }
    _bUnLock = false;
    if (outlets_._activityIndicator) outlets_._activityIndicator->setAutoresizingMask(45);

    // Sound mixes with other audio and follows the silent switch; the
    // session's calls need no answer.
    if (auto* session = services::backend().audioSession()) {
        session->setDelegate(&audioSessionDelegate_);
        session->setCategory(platform::AudioSession::Category::Ambient);
    }

    buildCheckingBox();
    observePaymentQueue();

    auto& prefs = services::prefs();
    auto uuid = prefs.objectForKey(kKeyUuid);
    if (!uuid || !std::holds_alternative<std::string>(*uuid)) {
        prefs.setString(kKeyUuid, createUUID());
        prefs.flush();
    }

    if (outlets_._activityIndicator) {
        outlets_._activityIndicator->setColor({0.01, 0.65, 0.96, 1.0});
        outlets_._activityIndicator->setHidden(true);
    }

    // Built afresh for each load too; this copy serves the page's own
    // requests and the HTTP client's.
    std::string userAgent = userAgentString();
    if (outlets_._webView) outlets_._webView->setUserAgent(userAgent);
    RK::HttpClient::shared().setDefaultUserAgent(userAgent);

    // The search list, the audio device and its volumes.
    initAudio();

    _farstViewInitState = 1;
}

void MyWebViewController::didBecomeActive() {
    if (_viewDrawAddFlg) {
        platform::ui::Rect frame = outlets_._viewContents ? outlets_._viewContents->frame() : platform::ui::Rect();
        auto screen = std::make_shared<CGView>(frame);
        int check = _downloadCheckState;
        screen->setDrawState(check == 2 ? 4 : check == 1 ? 3 : 2);
        screen->setTag(kTagLoadingScreen);
        screen->setBackgroundColor({1, 1, 1, 0});
        screen->setUserInteractionEnabled(false);
        if (outlets_._viewContents) outlets_._viewContents->addSubview(screen);
        setViewDraw(screen);
        if (check != 0) scheduleDispatchAfterDownload();
    }
    if (!_tittleShowFlg) _farstViewInitState = 1;
    if (_farstViewInitState == 1) _farstViewInitState = 2;
    if (_farstViewInitState == 2) {
        _farstViewInitState = 0;
        restartTitleFlow();
    }
    if (_glView && _glView->enable() && _glView->avatarType() && _glView->page()) _glView->resume();
    if (platform::currentSystemMajorVersion() >= 6) {
        services::trackers().call(platform::TrackerKind::AppEvents, "setAppId", {kAppEventsAppId});
        services::trackers().call(platform::TrackerKind::AppEvents, "activateApp");
    }
}

void MyWebViewController::willResignActive() {
    if (auto screen = viewDraw()) {
        screen->removeFromSuperview();
        setViewDraw(nullptr);
    }
    if (auto waiting = semaphore()) {
        waiting->signal();
        setSemaphore(nullptr);
    }
    if (_glView) _glView->pause();
}

void MyWebViewController::adConversionInit() {
    if (_advertiser) return;
    _advertiser = std::make_unique<AdConversionTracker>();
    services::trackers().call(platform::TrackerKind::AdConversion, "create",
                              {kAdConversionAccount, std::to_string(config_.storeAppId), kAppUrlScheme,
                               "duplicateCheck=on", "naturalInstallCheck=on"});
}

void MyWebViewController::adConversionRunInitial() {
    if (!_advertiser) return;
    services::trackers().call(platform::TrackerKind::AdConversion, "runInitialConversion");
}

void MyWebViewController::adConversionRelease() {
    if (!_advertiser) return;
    services::trackers().call(platform::TrackerKind::AdConversion, "release");
    _advertiser.reset();
}

std::shared_ptr<CGView> MyWebViewController::viewDraw() const {
    std::lock_guard<std::mutex> lock(sharedMutex_);
    return viewDraw_;
}

void MyWebViewController::setViewDraw(std::shared_ptr<CGView> view) {
    std::lock_guard<std::mutex> lock(sharedMutex_);
    viewDraw_ = std::move(view);
}

std::shared_ptr<DispatchSemaphore> MyWebViewController::semaphore() const {
    std::lock_guard<std::mutex> lock(sharedMutex_);
    return semaphore_;
}

void MyWebViewController::setSemaphore(std::shared_ptr<DispatchSemaphore> semaphore) {
    std::lock_guard<std::mutex> lock(sharedMutex_);
    semaphore_ = std::move(semaphore);
}

void MyWebViewController::afterDelay(int milliseconds, std::function<void()> task) {
    lifeline_.after(milliseconds, std::move(task));
}

void MyWebViewController::restartTitleFlow() {
    ++titleFlowStarts_;
    loadApp();
}

void MyWebViewController::scheduleDispatchAfterDownload() {
    afterDelay(500, [this] {
        work_.start(services::queues(), platform::Queues::Priority::Background, [this] {
            ++downloadDispatches_;
            dispatchAfterDownload();
        });
    });
}

}  // namespace app
