#pragma once
// The web view of a headless run: a scripted fake that still talks HTTP.
//
// Each main-document request it loads is fetched over libcurl on a global
// queue with the view's user agent, its headers, its method and body, and a
// cookie jar kept per view; the status and failure codes are real, HTML is
// not rendered. Every redirect hop is offered to the delegate like any other
// navigation, with the address that redirected as its frameUrl; a refused
// hop ends the load with kFrameLoadInterrupted. With fetching off
// (setFetchesPages(false)) a load stays pending until the test calls
// finishLoad() or failLoad().
//
// Tests drive what a page would do with navigate() (links, form posts with a
// body, frame navigations with the frame's own page as frameUrl), and read
// the requests loaded and the scripts evaluated. Script answers come from an
// answerer the test sets (empty text otherwise) and arrive on the main loop,
// later, as in a real engine.
//
// Main thread only, except the fetch itself: loads and scripts asked for
// from another thread are refused with a log line.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/MainLoop.h"
#include "platform/WebView.h"

namespace platform::headless {

class HeadlessWebView final : public WebView {
public:
    using ScriptAnswerer = std::function<std::string(const std::string& script)>;

    HeadlessWebView(ui::Rect frame, MainLoop& loop, Queues& queues);
    ~HeadlessWebView() override;

    void setDelegate(WebViewDelegate* delegate) override { delegate_ = delegate; }
    void loadRequest(const UrlRequest& request) override;
    void stopLoading() override;
    bool isLoading() const override { return loading_; }
    void evaluateScript(const std::string& script, ScriptAnswer answer = {}) override;
    bool canGoBack() const override { return historyIndex_ > 0; }
    void goBack() override;
    std::string mainDocumentUrl() const override { return documentUrl_; }
    void setUserAgent(const std::string& userAgent) override { userAgent_ = userAgent; }
    std::string userAgent() const override { return userAgent_; }
    void setBounces(bool bounces) override { bounces_ = bounces; }

    // --- driving it from tests ---
    // What a page does: offers the navigation to the delegate and, when it
    // agrees, loads a main-frame request (a frame's is only recorded).
    // Returns the delegate's answer (true without a delegate).
    bool navigate(const UrlRequest& request, NavigationType type);
    // Ends the pending load as finished / failed with the code; false when
    // nothing is loading.
    bool finishLoad();
    bool failLoad(int code, const std::string& description = {});

    void setFetchesPages(bool fetches) { fetches_ = fetches; }
    void setScriptAnswerer(ScriptAnswerer answerer) { answerer_ = std::move(answerer); }

    // Every request the view sent, with its User-Agent header as sent.
    const std::vector<UrlRequest>& loadedRequests() const { return loaded_; }
    const std::vector<std::string>& evaluatedScripts() const { return scripts_; }
    void clearRecords();
    int lastStatusCode() const { return lastStatus_; }
    const std::string& lastResponseBody() const { return lastBody_; }
    bool bounces() const { return bounces_; }

    struct FetchResult;

private:
    struct CookieJar;
    void beginLoad(const UrlRequest& request, bool goingBack);
    void startFetch(std::uint64_t generation);
    void completeLoad(const FetchResult& result);
    void followRedirect(const FetchResult& result);
    void cancelPending();

    MainLoop& loop_;
    Queues& queues_;
    std::shared_ptr<CookieJar> cookies_;
    WebViewDelegate* delegate_ = nullptr;
    std::string userAgent_;
    bool bounces_ = true;
    bool fetches_ = true;
    bool loading_ = false;
    bool pendingIsBack_ = false;
    std::uint64_t generation_ = 0;
    static constexpr int kMaxRedirects = 10;
    int redirects_ = 0;
    UrlRequest pending_;
    std::string documentUrl_;
    std::vector<std::string> history_;
    int historyIndex_ = -1;
    std::vector<UrlRequest> loaded_;
    std::vector<std::string> scripts_;
    ScriptAnswerer answerer_;
    int lastStatus_ = 0;
    std::string lastBody_;
};

// libcurl's result as the phone's web error code (0 for success).
int webErrorCodeForCurl(int curlCode);

}  // namespace platform::headless
