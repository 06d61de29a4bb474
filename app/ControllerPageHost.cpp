// The game screen: layout, page loads, the page spinner, the checking box,
// the user agent and the files written into Documents.
#include <cstdio>
#include <filesystem>

#include "app/DeviceName.h"
#include "app/PageLayout.h"
#include "app/MyWebViewController.h"
#include "app/Services.h"
#include "app/SettingsKeys.h"
#include "app/UserAgent.h"
#include "app/bridge/Callbacks.h"
#include "install/CGView.h"
#include "platform/Device.h"
#include "platform/Log.h"
#include "app/AtomicWrite.h"
#include "platform/ui/Windowing.h"

namespace app {

using platform::ui::Rect;

void MyWebViewController::webviewInit(const std::string& url) {
    view();
    if (auto screen = viewDraw()) {
        _viewDrawAddFlg = false;
        screen->removeFromSuperview();
        setViewDraw(nullptr);
    }

    if (outlets_._btnTitleHikitsugi) outlets_._btnTitleHikitsugi->setHidden(true);
    if (outlets_._imageTitle) outlets_._imageTitle->setHidden(true);
    for (platform::ui::View* v : {static_cast<platform::ui::View*>(outlets_._viewFade.get()),
                                  static_cast<platform::ui::View*>(outlets_._imageWebviewBack.get()),
                                  static_cast<platform::ui::View*>(outlets_._webView.get()),
                                  static_cast<platform::ui::View*>(outlets_._imageFooter.get())}) {
        if (v) v->setHidden(false);
    }
    for (auto* button : outlets_.footerButtons()) {
        if (!button) continue;
        button->setHidden(false);
        button->setUserInteractionEnabled(true);
    }

    _con_url.clear();
    _session_id.clear();
    _footerEventFlg.fill(false);
    _footerSetType.fill(0);
    _footerLayouts = defaultFooterLayouts();
    _footerEnable = false;

    layoutGameScreen();

    if (url.empty()) {
        setHome();
    } else {
        viewNextUrl(url);
    }
}

void MyWebViewController::layoutGameScreen() {
    Rect screen = services::windowing().mainScreenBounds();
    PageLayout layout = computePageLayout(screen.width(), screen.height());
    if (layout.resizeFooter) {
        if (outlets_._imageFooter) outlets_._imageFooter->sizeBy({layout.footerWidth, layout.footerHeight});
        for (auto* button : outlets_.footerButtons()) {
            if (button) button->sizeBy({layout.buttonSize, layout.buttonSize});
        }
    }
    Rect page(layout.page.x, layout.page.y, layout.page.width, layout.page.height);
    if (outlets_._webView) {
        outlets_._webView->setFrame(page);
        outlets_._webView->setOpaque(false);
        outlets_._webView->setBackgroundColor(platform::ui::Color::clear());
    }

    // The previous avatar view goes first: a second live view would keep its
    // draw timer running behind the new one.
    if (_glView) {
        _glView->pause();
        _glView->setDelegate(nullptr);
        if (auto old = _glView->view()) old->removeFromSuperview();
        _glView.reset();
    }
    _glView = avatarFactory_ ? avatarFactory_(page) : nullptr;
    if (_glView) {
        if (auto avatar = _glView->view()) {
            avatar->setTag(kTagAvatarView);
            avatar->setOpaque(false);
            avatar->setBackgroundColor(platform::ui::Color::clear());
            view_->insertSubview(avatar, 8);
        }
        _glView->setDelegate(this);
    }

    double footerTop = page.y() + (outlets_._webView ? outlets_._webView->frame().height() : page.height());
    if (outlets_._imageFooter) outlets_._imageFooter->moveBy({outlets_._imageFooter->frame().x(), footerTop});
    for (auto* button : outlets_.footerButtons()) {
        if (button) button->moveBy({button->frame().x(), footerTop});
    }
}

std::string MyWebViewController::setConUrl() {
    _con_url = config_.appBaseUrl();
    return _con_url + "/";
}

void MyWebViewController::setHome() { viewNextUrl(setConUrl()); }

void MyWebViewController::viewNextUrl(const std::string& url) {
    if (!outlets_._webView) return;
    outlets_._webView->setUserAgent(userAgentString());
    outlets_._webView->loadRequest(platform::UrlRequest::get(url));
}

void MyWebViewController::buildCheckingBox() {
    _loadingContainer = std::make_shared<platform::ui::View>(Rect(0, 0, 200, 60));
    _loadingContainer->setBackgroundColor(platform::ui::Color::lightGray());
    _loadingContainer->setCornerRadius(8);
    _loadingContainer->setClipsToBounds(true);
    _loadingContainer->setBorderWidth(0.5);
    _loadingContainer->setBorderColor(platform::ui::Color::darkGray());
    if (outlets_._viewContents) {
        Rect c = outlets_._viewContents->frame();
        _loadingContainer->setCenter({c.width() / 2, c.height() * 0.4});
    }

    _loadingLabel = std::make_shared<platform::ui::Label>(Rect(50, 17, 150, 25));
    _loadingLabel->setText("チェック中\nしばらくお待ちください");
    _loadingLabel->setTextColor(platform::ui::Color::white());
    _loadingLabel->setShadowColor(platform::ui::Color::black());
    _loadingLabel->setShadowOffset({1, 1});
    _loadingLabel->setNumberOfLines(2);
    _loadingLabel->setFont(platform::ui::Font::boldSystem(10));
    _loadingLabel->setBackgroundColor(platform::ui::Color::lightGray());
    _loadingContainer->addSubview(_loadingLabel);

    _loadingMark = std::make_shared<platform::ui::ActivityIndicator>(Rect(10, 14, 30, 30),
                                                                     platform::ui::ActivityIndicatorStyle::WhiteLarge);
    _loadingContainer->addSubview(_loadingMark);

    if (outlets_._viewContents) {
        outlets_._viewContents->addSubview(_loadingContainer);
        outlets_._viewContents->bringSubviewToFront(_loadingContainer.get());
    }
    _loadingContainer->setHidden(true);
}

// The version check calls startLoading from its own thread while the main
// thread waits; views are only touched on the main thread, so both calls
// record what is wanted and the main thread applies the latest wish.
void MyWebViewController::startLoading() { requestCheckingBox(true); }

void MyWebViewController::endLoading() { requestCheckingBox(false); }

void MyWebViewController::requestCheckingBox(bool wanted) {
    checkingWanted_ = wanted;
    services::system().setNetworkActivityIndicatorVisible(wanted);
    if (services::mainLoop().isMainThread()) {
        applyCheckingBox();
        return;
    }
    if (!checkingApplyPosted_.exchange(true)) {
        lifeline_.post([this] { applyCheckingBox(); });
    }
}

void MyWebViewController::applyCheckingBox() {
    checkingApplyPosted_ = false;
    if (!_loadingContainer) return;
    if (checkingWanted_) {
        if (outlets_._viewContents) outlets_._viewContents->addSubview(_loadingContainer);
        _loadingMark->startAnimating();
        _loadingContainer->setHidden(false);
    } else {
        _loadingMark->stopAnimating();
        _loadingContainer->setHidden(true);
    }
}

void MyWebViewController::setWebviewUserInteractionEnabled(bool enabled) {
    if (outlets_._webView) outlets_._webView->setUserInteractionEnabled(enabled);
    for (auto* button : outlets_.footerButtons()) {
        if (button) button->setUserInteractionEnabled(enabled);
    }
}

std::string MyWebViewController::userAgentString() const {
    auto& device = services::backend().device();
    UserAgentFields fields;
    fields.bundleName = config_.bundleName;
    fields.bundleVersion = config_.bundleVersion;
    fields.hardwareModel = app::platform(device);
    fields.systemName = device.systemName();
    fields.systemVersion = device.systemVersion();
    fields.encipheredUuid = encipheredField(services::prefs().stringForKey(kKeyUuid).value_or(""));
    fields.encipheredInstallId = encipheredField(installationIdentifier());
    return formatUserAgent(fields);
}

std::string MyWebViewController::createUUID() { return app::createUUID(); }

namespace {

// Only plain file names: the files land in Documents and nowhere else.
bool isPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

}  // namespace

bool MyWebViewController::dataToFile(const std::string& fileName, const std::vector<std::uint8_t>& data) {
    if (!isPlainFileName(fileName)) {
        platform::log("controller: refusing to write \"%s\" outside Documents", fileName.c_str());
        return false;
    }
    std::string path = services::dirs().documents() + "/" + fileName;
    std::string bytes(data.begin(), data.end());
    bool ok = writeFileAtomically(path, bytes);
    if (!ok) platform::log("controller: could not write %s", path.c_str());
    return ok;
}

void MyWebViewController::stringToFile(const std::string& fileName, const std::string& text) {
    dataToFile(fileName, std::vector<std::uint8_t>(text.begin(), text.end()));
}

// ---- page-load delegate calls ---------------------------------------------

void MyWebViewController::webViewDidStartLoad(platform::WebView&) {
    if (outlets_._activityIndicator) {
        outlets_._activityIndicator->setHidden(false);
        outlets_._activityIndicator->startAnimating();
    }
    services::system().setNetworkActivityIndicatorVisible(true);
}

void MyWebViewController::webViewDidFinishLoad(platform::WebView&) {
    if (_mesh2dControl == 0) {
        if (_glView) {
            _glView->setPage(0);
            _glView->pause();
        }
        if (outlets_._webView) outlets_._webView->setBackgroundColor(platform::ui::Color::white());
    }
    _mesh2dControl = 0;
    if (outlets_._activityIndicator) {
        outlets_._activityIndicator->setHidden(true);
        outlets_._activityIndicator->stopAnimating();
    }
    services::system().setNetworkActivityIndicatorVisible(false);
    setWebviewUserInteractionEnabled(true);
    evaluateScript(script::kGetSessionId,
                   lifeline_.guard<const std::string&>([this](const std::string& answer) { _session_id = answer; }));
}

void MyWebViewController::webViewDidFailLoad(platform::WebView&, const platform::WebError& error) {
    if (outlets_._activityIndicator) {
        outlets_._activityIndicator->setHidden(true);
        outlets_._activityIndicator->stopAnimating();
    }
    if (error.code == platform::WebError::kCancelled || error.code == platform::WebError::kFrameLoadInterrupted) return;
    showAlert(kAlertLoadFailed);
}

}  // namespace app
