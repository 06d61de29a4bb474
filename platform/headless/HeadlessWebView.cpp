#include "platform/headless/HeadlessWebView.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <mutex>

#include "platform/Log.h"

namespace platform::headless {

namespace {

constexpr std::size_t kBodyLimit = 8u << 20;  // a page larger than this is cut, not buffered whole
constexpr long kTimeoutSeconds = 30;

std::once_flag curlInit;

bool sameHeaderNameHelper(const std::string& a, const char* b) {
    std::size_t n = std::char_traits<char>::length(b);
    if (a.size() != n) return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
}

bool hasScheme(const std::string& url) {
    std::size_t colon = url.find(':');
    if (colon == std::string::npos || colon == 0 || !std::isalpha(static_cast<unsigned char>(url[0]))) return false;
    for (std::size_t i = 1; i < colon; ++i) {
        char c = url[i];
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') return false;
    }
    return true;
}

// Keeps the Location header as the server wrote it.
size_t readHeader(char* data, size_t size, size_t count, void* context) {
    size_t n = size * count;
    std::string line(data, n);
    if (line.size() > 9 && sameHeaderNameHelper(line.substr(0, 9), "location:")) {
        std::size_t b = line.find_first_not_of(" \t", 9), e = line.find_last_not_of(" \t\r\n");
        *static_cast<std::string*>(context) = (b == std::string::npos || e < b) ? "" : line.substr(b, e - b + 1);
    }
    return n;
}

size_t appendBody(char* data, size_t size, size_t count, void* context) {
    auto* body = static_cast<std::string*>(context);
    size_t n = size * count;
    if (body->size() < kBodyLimit) body->append(data, std::min(n, kBodyLimit - body->size()));
    return n;
}

bool sameHeaderName(const std::string& a, const char* b) { return sameHeaderNameHelper(a, b); }

}  // namespace

struct HeadlessWebView::FetchResult {
    int curlCode = 0;
    long status = 0;
    std::string effectiveUrl;
    std::string redirectUrl;  // where a 3xx answer points, absolute
    std::string body;
    std::string error;
};

// One cookie store per view, shared by its fetches on the queue threads.
struct HeadlessWebView::CookieJar {
    CURLSH* share = nullptr;
    std::mutex mutex;

    CookieJar() {
        share = curl_share_init();
        if (!share) return;
        curl_share_setopt(share, CURLSHOPT_LOCKFUNC, &CookieJar::lock);
        curl_share_setopt(share, CURLSHOPT_UNLOCKFUNC, &CookieJar::unlock);
        curl_share_setopt(share, CURLSHOPT_USERDATA, this);
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    }
    ~CookieJar() {
        if (share) curl_share_cleanup(share);
    }
    static void lock(CURL*, curl_lock_data, curl_lock_access, void* self) {
        static_cast<CookieJar*>(self)->mutex.lock();
    }
    static void unlock(CURL*, curl_lock_data, void* self) { static_cast<CookieJar*>(self)->mutex.unlock(); }
};

namespace {

HeadlessWebView::FetchResult fetch(const UrlRequest& request, const std::string& userAgent, CURLSH* share) {
    HeadlessWebView::FetchResult r;
    CURL* h = curl_easy_init();
    if (!h) {
        r.curlCode = CURLE_FAILED_INIT;
        r.error = "curl_easy_init failed";
        return r;
    }
    char error[CURL_ERROR_SIZE] = {0};
    curl_slist* headers = nullptr;
    for (const auto& [name, value] : request.headers) {
        if (sameHeaderName(name, "User-Agent")) continue;  // the view's own user agent wins
        headers = curl_slist_append(headers, (name + ": " + value).c_str());
    }
    curl_easy_setopt(h, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    // Redirects are not followed here: each hop is a navigation the
    // delegate decides on, as in a browser.
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, userAgent.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(h, CURLOPT_TIMEOUT, kTimeoutSeconds);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &r.body);
    std::string rawLocation;
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, readHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &rawLocation);
    curl_easy_setopt(h, CURLOPT_COOKIEFILE, "");  // cookies on, kept in memory
    if (share) curl_easy_setopt(h, CURLOPT_SHARE, share);
    if (request.method == "POST") {
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE, long(request.body.size()));
        curl_easy_setopt(h, CURLOPT_COPYPOSTFIELDS, request.body.c_str());
    } else if (request.method != "GET" && !request.method.empty()) {
        curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    }
    CURLcode code = curl_easy_perform(h);
    r.curlCode = int(code);
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &r.status);
    char* effective = nullptr;
    if (curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective) r.effectiveUrl = effective;
    char* location = nullptr;
    if (curl_easy_getinfo(h, CURLINFO_REDIRECT_URL, &location) == CURLE_OK && location) r.redirectUrl = location;
    // An absolute target keeps its exact text (curl would normalise a
    // private scheme's URL); a relative one is resolved by curl.
    if (!r.redirectUrl.empty() && hasScheme(rawLocation)) r.redirectUrl = rawLocation;
    if (code != CURLE_OK) r.error = error[0] ? error : curl_easy_strerror(code);
    curl_slist_free_all(headers);
    curl_easy_cleanup(h);
    return r;
}

UrlRequest withUserAgent(UrlRequest request, const std::string& userAgent) {
    auto& hs = request.headers;
    hs.erase(std::remove_if(hs.begin(), hs.end(), [](const auto& h) { return sameHeaderName(h.first, "User-Agent"); }),
             hs.end());
    hs.emplace_back("User-Agent", userAgent);
    return request;
}

}  // namespace

int webErrorCodeForCurl(int curlCode) {
    switch (curlCode) {
        case CURLE_OK: return 0;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY: return WebError::kCannotFindHost;
        case CURLE_COULDNT_CONNECT: return WebError::kCannotConnectToHost;
        case CURLE_OPERATION_TIMEDOUT: return WebError::kTimedOut;
        case CURLE_UNSUPPORTED_PROTOCOL:
        case CURLE_URL_MALFORMAT: return WebError::kUnsupportedUrl;
        case CURLE_ABORTED_BY_CALLBACK: return WebError::kCancelled;
        default: return WebError::kUnknown;
    }
}

HeadlessWebView::HeadlessWebView(ui::Rect frame, MainLoop& loop, Queues& queues)
    : WebView(frame), loop_(loop), queues_(queues) {
    std::call_once(curlInit, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    cookies_ = std::make_shared<CookieJar>();
}

HeadlessWebView::~HeadlessWebView() = default;

void HeadlessWebView::loadRequest(const UrlRequest& request) {
    if (!loop_.isMainThread()) {
        log("WebView: refusing a load requested off the main thread: %s", request.url.c_str());
        return;
    }
    UrlRequest main = request;
    main.mainFrame = true;
    navigate(main, NavigationType::Other);
}

bool HeadlessWebView::navigate(const UrlRequest& request, NavigationType type) {
    if (delegate_ && !delegate_->webViewShouldStartLoad(*this, request, type)) return false;
    if (request.mainFrame) {
        beginLoad(request, false);
    } else {
        loaded_.push_back(withUserAgent(request, userAgent_));
    }
    return true;
}

void HeadlessWebView::cancelPending() {
    if (!loading_) return;
    loading_ = false;
    ++generation_;
    WebError e{WebError::kCancelled, "cancelled", pending_.url};
    if (delegate_) delegate_->webViewDidFailLoad(*this, e);
}

void HeadlessWebView::beginLoad(const UrlRequest& request, bool goingBack) {
    cancelPending();
    loading_ = true;
    pendingIsBack_ = goingBack;
    pending_ = withUserAgent(request, userAgent_);
    std::uint64_t generation = ++generation_;
    loaded_.push_back(pending_);
    if (delegate_) delegate_->webViewDidStartLoad(*this);
    if (!fetches_ || !loading_ || generation != generation_) return;  // manual mode, or the delegate moved on
    redirects_ = 0;
    startFetch(generation);
}

void HeadlessWebView::startFetch(std::uint64_t generation) {
    std::weak_ptr<View> weak = weak_from_this();
    MainLoop* loop = &loop_;
    auto jar = cookies_;
    UrlRequest copy = pending_;
    std::string agent = userAgent_;
    queues_.async(Queues::Priority::Default, [weak, loop, jar, copy, agent, generation] {
        FetchResult result = fetch(copy, agent, jar->share);
        loop->post([weak, generation, result = std::move(result)] {
            auto view = std::static_pointer_cast<HeadlessWebView>(weak.lock());
            if (view && view->loading_ && view->generation_ == generation) view->completeLoad(result);
        });
    });
}

namespace {
bool isRedirect(long status) { return status == 301 || status == 302 || status == 303 || status == 307 || status == 308; }
}  // namespace

void HeadlessWebView::followRedirect(const FetchResult& result) {
    if (++redirects_ > kMaxRedirects) {
        failLoad(WebError::kTooManyRedirects, "too many redirects");
        return;
    }
    UrlRequest next = pending_;
    next.url = result.redirectUrl;
    // The server that redirected asks for the next hop, not the page shown.
    next.frameUrl = pending_.url;
    // 303, and 301/302 after a POST, continue as a GET without the body.
    if (result.status == 303 || ((result.status == 301 || result.status == 302) && next.method == "POST")) {
        next.method = "GET";
        next.body.clear();
        auto& hs = next.headers;
        hs.erase(std::remove_if(hs.begin(), hs.end(),
                                [](const auto& h) { return sameHeaderName(h.first, "Content-Type"); }),
                 hs.end());
    }
    std::uint64_t generation = generation_;
    if (delegate_ && !delegate_->webViewShouldStartLoad(*this, next, NavigationType::Other)) {
        // A refused hop interrupts the load, as WebKit reports it.
        if (loading_ && generation == generation_) failLoad(WebError::kFrameLoadInterrupted, "frame load interrupted");
        return;
    }
    if (!loading_ || generation != generation_) return;  // the delegate started something else
    pending_ = withUserAgent(next, userAgent_);
    loaded_.push_back(pending_);
    startFetch(generation);
}

void HeadlessWebView::completeLoad(const FetchResult& result) {
    if (result.curlCode == 0 && isRedirect(result.status) && !result.redirectUrl.empty()) {
        followRedirect(result);
        return;
    }
    loading_ = false;
    lastStatus_ = int(result.status);
    lastBody_ = result.body;
    int code = webErrorCodeForCurl(result.curlCode);
    if (code != 0) {
        log("WebView: load of %s failed: %s (%d)", pending_.url.c_str(), result.error.c_str(), code);
        WebError e{code, result.error, pending_.url};
        if (delegate_) delegate_->webViewDidFailLoad(*this, e);
        return;
    }
    documentUrl_ = result.effectiveUrl.empty() ? pending_.url : result.effectiveUrl;
    if (pendingIsBack_ && historyIndex_ > 0) {
        --historyIndex_;
        history_[std::size_t(historyIndex_)] = documentUrl_;
    } else {
        history_.resize(std::size_t(historyIndex_ + 1));
        history_.push_back(documentUrl_);
        historyIndex_ = int(history_.size()) - 1;
    }
    if (delegate_) delegate_->webViewDidFinishLoad(*this);
}

bool HeadlessWebView::finishLoad() {
    if (!loading_) return false;
    FetchResult ok;
    ok.status = 200;
    ok.effectiveUrl = pending_.url;
    completeLoad(ok);
    return true;
}

bool HeadlessWebView::failLoad(int code, const std::string& description) {
    if (!loading_) return false;
    loading_ = false;
    ++generation_;
    WebError e{code, description, pending_.url};
    if (delegate_) delegate_->webViewDidFailLoad(*this, e);
    return true;
}

void HeadlessWebView::stopLoading() { cancelPending(); }

void HeadlessWebView::goBack() {
    if (!canGoBack()) return;
    UrlRequest back = UrlRequest::get(history_[std::size_t(historyIndex_ - 1)]);
    if (delegate_ && !delegate_->webViewShouldStartLoad(*this, back, NavigationType::BackForward)) return;
    beginLoad(back, true);
}

void HeadlessWebView::evaluateScript(const std::string& script, ScriptAnswer answer) {
    // A real engine cannot run scripts from another thread; refusing here
    // makes such a call show up in tests instead of racing.
    if (!loop_.isMainThread()) {
        log("WebView: refusing script evaluated off the main thread: %s", script.c_str());
        return;
    }
    scripts_.push_back(script);
    if (!answer) return;
    std::string value = answerer_ ? answerer_(script) : std::string();
    loop_.post([answer = std::move(answer), value = std::move(value)] { answer(value); });
}

void HeadlessWebView::clearRecords() {
    loaded_.clear();
    scripts_.clear();
}

}  // namespace platform::headless
