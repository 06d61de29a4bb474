// Every navigation the page starts passes here first: native actions by
// scheme, hand-overs to the desktop, the purchase capture and the three
// markers of ordinary page URLs.
#include <filesystem>
#include <system_error>

#include "app/MyWebViewController.h"
#include "app/Services.h"
#include "app/SettingsKeys.h"
#include "app/bridge/Markers.h"
#include "app/bridge/Origin.h"
#include "app/bridge/SchemeTable.h"
#include "app/bridge/Url.h"
#include "platform/Log.h"
#include "platform/SystemVersion.h"

namespace app {

namespace {

constexpr const char* kLocalDownloadRecord = "localDownloadData.txt";

// The page that asks for a navigation: a frame's own document (or the
// address that redirected), else the page now shown.
std::string askingDocument(const MyWebViewController& controller, const platform::UrlRequest& request) {
    if (!request.frameUrl.empty()) return request.frameUrl;
    return controller.outlets()._webView ? controller.outlets()._webView->mainDocumentUrl() : "";
}

bool trustsDocument(const MyWebViewController& controller, const std::string& document) {
    const AppConfig& config = controller.config();
    PageTrust trust{config.appBaseUrl(), splitHostList(config.pageHosts), services::dirs().bundle()};
    return isTrustedDocument(document, trust);
}

// Whether the page that asks for this navigation may use native actions.
bool requestIsTrusted(const MyWebViewController& controller, const platform::UrlRequest& request) {
    if (!controller.outlets()._webView) return false;
    // Nothing shown yet and no frame asking: only the client itself navigates.
    if (request.frameUrl.empty() && controller.outlets()._webView->mainDocumentUrl().empty()) return true;
    return trustsDocument(controller, askingDocument(controller, request));
}

}  // namespace

bool MyWebViewController::pageIsTrusted() const { return requestIsTrusted(*this, platform::UrlRequest{}); }

bool MyWebViewController::webViewShouldStartLoad(platform::WebView&, const platform::UrlRequest& request,
                                                 platform::NavigationType) {
    auto url = parseUrl(request.url);
    SchemeKind kind = url ? classifyScheme(url->scheme) : SchemeKind::Ordinary;
    if (isNativeAction(kind) && !requestIsTrusted(*this, request)) {
        platform::log("bridge: refused %s from a page of another host (%s)", printableUrl(request.url).c_str(),
                      printableUrl(askingDocument(*this, request)).c_str());
        return false;
    }
    return dispatchBridge(request, static_cast<int>(kind));
}

bool MyWebViewController::dispatchBridge(const platform::UrlRequest& request, int kindValue) {
    auto kind = static_cast<SchemeKind>(kindValue);
    auto url = parseUrl(request.url);
    auto query = url ? queryAsDictionary(url->query) : std::nullopt;
    switch (kind) {
        case SchemeKind::Avatar:
            if (!_glView) {
                platform::log("bridge: %s before the avatar view exists", request.url.c_str());
            } else if (!avatarActionTable().invoke(*_glView, url->host, query)) {
                platform::log("bridge: unknown avatar action %s",
                              ActionTable<AvatarView>::actionName(url->host, query.has_value()).c_str());
            }
            return false;
        case SchemeKind::Tapjoy:
            return false;
        case SchemeKind::Controller: {
            std::string missing;
            auto outcome = controllerActionTable().call(*this, url->host, query, &missing);
            std::string name = ActionTable<MyWebViewController>::actionName(url->host, query.has_value());
            if (outcome == ActionTable<MyWebViewController>::Outcome::Unknown) {
                platform::log("bridge: unknown action %s", name.c_str());
            } else if (outcome == ActionTable<MyWebViewController>::Outcome::MissingKey) {
                platform::log("bridge: %s without \"%s\" ignored", name.c_str(), missing.c_str());
            }
            return false;
        }
        case SchemeKind::Top:
            _fadeStart = false;
            restartTitleFlow();
            return false;
        case SchemeKind::Payment:
            capturePayment(request);
            return false;
        case SchemeKind::OpenOutside:
            openOutside(request.url);
            return false;
        case SchemeKind::Browser:
            openOutside(request.url.substr(url->scheme.size() + 1));
            return false;
        case SchemeKind::Ordinary:
            break;
    }
    if (!requestIsTrusted(*this, request)) return true;  // a page of another host: no marker has an effect
    bool load = ordinaryNavigation(request);
    if (load && outlets_._webView) outlets_._webView->setUserAgent(userAgentString());
    return load;
}

bool MyWebViewController::capturePayment(const platform::UrlRequest& request) {
    auto url = parseUrl(request.url);
    if (!url || !url->query) {
        platform::log("bridge: purchase request without a query ignored");
        return false;
    }
    Query map = queryAsDictionary(std::string_view(*url->query));
    map.erase("P");
    auto& prefs = services::prefs();
    prefs.setString(kKeyPaymentUrl, url->scheme + "://" + url->host + decodedPath(*url) + "?" + dictionaryAsQuery(map));
    if (!request.body.empty() && isValidUtf8(request.body)) {
        prefs.setString(kKeyPaymentPrm, request.body);
    } else {
        if (!request.body.empty()) platform::log("bridge: purchase form body is not UTF-8 text; not kept");
        prefs.removeObjectForKey(kKeyPaymentPrm);
    }
    prefs.flush();
    auto product = map.find("product");
    if (product != map.end()) {
        callPayment(product->second);
        _requestAction = request;
    }
    return true;
}

bool MyWebViewController::ordinaryNavigation(const platform::UrlRequest& request) {
    const std::string& text = request.url;
    auto& prefs = services::prefs();

    if (text.find(kMarkerSavedataReset) != std::string::npos) {
        std::error_code ignored;
        std::filesystem::remove(services::dirs().caches() + "/" + kLocalDownloadRecord, ignored);
        prefs.setFloat(kKeyDlResetFlg, 1.0f);
        prefs.flush();
    }

    if (auto dlcv = findMarker(text, kMarkerSavedataDlcv)) {
        int current = static_cast<int>(prefs.integerForKey(kKeyVoiceDlKey));
        int number = voiceDataNumber(*dlcv);
        int merged = mergeVoiceKey(current, number);
        if (number >= 1 && number <= 7) {
            prefs.setFloat(kKeyVoiceDlKey, static_cast<float>(merged));
            prefs.flush();
        }
        if (dlcv->followedByAmp) {
            _dlState = 1;
            _fadeStart = true;
            restartTitleFlow();
            return false;
        }
    }

    if (text.find(kMarkerSpAurl) == std::string::npos) return true;
    return openBrowserMarker(text);
}

bool MyWebViewController::openBrowserMarker(const std::string& text) {
    services::trackers().call(platform::TrackerKind::InstallAttribution, "sendEvent", {"31101"});
    if (_advertiser) services::trackers().call(platform::TrackerKind::AdConversion, "sendLtv", {"0"});

    auto marker = findMarker(text, kMarkerSpAurl);
    auto target = percentDecodeUtf8(marker->raw);
    if (!target) {
        platform::log("bridge: sp_aurl value does not decode; nothing opened");
        return true;
    }
    auto uuid = services::prefs().stringForKey(kKeyUuid);
    if (uuid && !uuid->empty()) {
        std::string id = encipheredField(*uuid);
        if (!id.empty()) *target = appendIdParameter(*target, id);
    }
    int major = platform::currentSystemMajorVersion();
    if (major <= 4) return true;
    openOutside(*target);
    if (major >= 6) services::trackers().call(platform::TrackerKind::AppEvents, "logTutorialCompletion");
    return true;
}

void MyWebViewController::openOutside(const std::string& url) {
    // A NUL or a line break, raw or escaped, can cut or extend the URL
    // in the handler that receives it: such an URL never leaves the client.
    // Mail links are the one exception for escaped line breaks, which are
    // how a multi-line body is written in them.
    auto parts = parseUrl(url);
    bool mail = parts && parts->scheme == "mailto";
    auto lineBreaks = mail ? EscapedLineBreaks::Allowed : EscapedLineBreaks::Refused;
    if (hasControlCharacters(url, lineBreaks)) {
        platform::log("bridge: not opening an URL with control characters: %s", printableUrl(url).c_str());
        return;
    }
    if (!mayOpenOutside(url)) {
        platform::log("bridge: not opening %s outside (only http, https, mailto, tel, sms, line)", url.c_str());
        return;
    }
    if (!services::system().openUrl(url)) platform::log("bridge: nothing opened %s", url.c_str());
}

void MyWebViewController::evaluateScript(const std::string& script, platform::WebView::ScriptAnswer answer) {
    if (!outlets_._webView) return;
    outlets_._webView->evaluateScript(script, std::move(answer));
}

}  // namespace app
