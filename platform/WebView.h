#pragma once
// The embedded web view and its delegate. Every navigation of the page and
// of its frames is offered to the delegate first, with the page that asks
// for it (UrlRequest::frameUrl); load start, finish and
// failure are reported on the main thread. Error codes are the phone's:
// kCancelled for a load that was stopped or replaced, kFrameLoadInterrupted
// for a navigation that the delegate refused.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/View.h"

namespace platform {

struct UrlRequest {
    std::string url;
    std::string method = "GET";
    std::string body;  // form posts
    std::vector<std::pair<std::string, std::string>> headers;
    bool mainFrame = true;  // false for a navigation inside a frame
    // Who asks for the navigation when it is not the page now shown: the
    // frame's own document for a link or script in a frame, or the address
    // that answered with a redirect to this URL. Empty: the page now shown.
    std::string frameUrl;

    static UrlRequest get(std::string url) {
        UrlRequest r;
        r.url = std::move(url);
        return r;
    }
};

enum class NavigationType { LinkClicked = 0, FormSubmitted = 1, BackForward = 2, Reload = 3, FormResubmitted = 4, Other = 5 };

struct WebError {
    static constexpr int kCancelled = -999;
    static constexpr int kFrameLoadInterrupted = 102;
    static constexpr int kUnknown = -1;
    static constexpr int kTimedOut = -1001;
    static constexpr int kUnsupportedUrl = -1002;
    static constexpr int kCannotFindHost = -1003;
    static constexpr int kCannotConnectToHost = -1004;
    static constexpr int kTooManyRedirects = -1007;
    static constexpr int kNotConnectedToInternet = -1009;

    int code = kUnknown;
    std::string description;
    std::string failingUrl;
};

// WebKit's own errors as the phone's codes: a cancelled load (WebKit's
// network error 302) is kCancelled; a policy error keeps its number (102 is
// already "frame load interrupted"); other network failures are kUnknown.
enum class WebKitErrorDomain { Network, Policy, Other };
inline int webErrorCodeForWebKit(WebKitErrorDomain domain, int code) {
    constexpr int kWebKitNetworkCancelled = 302;
    switch (domain) {
        case WebKitErrorDomain::Network: return code == kWebKitNetworkCancelled ? WebError::kCancelled : WebError::kUnknown;
        case WebKitErrorDomain::Policy: return code;
        case WebKitErrorDomain::Other: return WebError::kUnknown;
    }
    return WebError::kUnknown;
}

class WebView;

class WebViewDelegate {
public:
    virtual ~WebViewDelegate() = default;
    // True lets the view load the request.
    virtual bool webViewShouldStartLoad(WebView& view, const UrlRequest& request, NavigationType type) = 0;
    virtual void webViewDidStartLoad(WebView& view) = 0;
    virtual void webViewDidFinishLoad(WebView& view) = 0;
    virtual void webViewDidFailLoad(WebView& view, const WebError& error) = 0;
};

class WebView : public ui::View {
public:
    using ScriptAnswer = std::function<void(const std::string& value)>;

    using ui::View::View;

    virtual void setDelegate(WebViewDelegate* delegate) = 0;  // not owned
    virtual void loadRequest(const UrlRequest& request) = 0;
    virtual void stopLoading() = 0;
    virtual bool isLoading() const = 0;

    // Runs a script in the current page (main thread). The page's answer, as
    // text, reaches `answer` on the main thread, possibly later.
    virtual void evaluateScript(const std::string& script, ScriptAnswer answer = {}) = 0;

    virtual bool canGoBack() const = 0;
    virtual void goBack() = 0;

    // The URL of the page now shown (empty before the first load).
    virtual std::string mainDocumentUrl() const = 0;

    // Sent as the User-Agent header of every request the view makes.
    virtual void setUserAgent(const std::string& userAgent) = 0;
    virtual std::string userAgent() const = 0;

    // Rubber-band scrolling at the page edges.
    virtual void setBounces(bool bounces) = 0;
};

}  // namespace platform
