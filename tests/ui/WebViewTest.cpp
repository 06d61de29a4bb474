// The headless web view: navigation decisions, loads over real HTTP with the
// user agent, failures with the phone's codes, history and scripts.
#include <gtest/gtest.h>

#include <thread>

#include "HeadlessFixture.h"
#include "platform/Log.h"
#include "platform/headless/HeadlessWebView.h"
#include "tests/support/LoopbackServer.h"

using platform::NavigationType;
using platform::UrlRequest;
using platform::WebError;
using platform::WebView;

namespace {

struct RecordingDelegate : platform::WebViewDelegate {
    std::vector<std::string> events;
    std::vector<UrlRequest> offered;
    std::vector<NavigationType> types;
    std::vector<int> errors;
    bool allow = true;
    bool webViewShouldStartLoad(WebView&, const UrlRequest& r, NavigationType t) override {
        offered.push_back(r);
        types.push_back(t);
        events.push_back("should:" + r.url);
        return allow;
    }
    void webViewDidStartLoad(WebView&) override { events.push_back("start"); }
    void webViewDidFinishLoad(WebView&) override { events.push_back("finish"); }
    void webViewDidFailLoad(WebView&, const WebError& e) override {
        errors.push_back(e.code);
        events.push_back("fail:" + std::to_string(e.code));
    }
    bool settled() const {
        return !events.empty() && (events.back() == "finish" || events.back().rfind("fail:", 0) == 0);
    }
};

class WebViewFixture : public uitest::HeadlessFixture {
protected:
    WebViewFixture() : HeadlessFixture(false) {
        server.server().Get("/page", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<html>page</html>", "text/html");
        });
        server.server().Get("/missing", [](const httplib::Request&, httplib::Response& res) { res.status = 404; });
        server.server().Post("/form", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("ok", "text/html");
        });
        server.server().Get("/login", [](const httplib::Request&, httplib::Response& res) {
            res.set_header("Set-Cookie", "sid=abc123; Path=/");
            res.set_content("in", "text/html");
        });
        server.server().Get("/moved", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("/page");
        });
        EXPECT_TRUE(server.start());
        auto made = backend().windowing().createWebView({0, 0, 320, 427});
        view = std::static_pointer_cast<platform::headless::HeadlessWebView>(made);
        view->setDelegate(&delegate);
        view->setUserAgent("Pelora/1.0.0(x86_64; Linux 6.1)/TARVEL_UA/iPhone/PELORA_ver01::");
    }
    ~WebViewFixture() override { backend().queues().drain(); }

    bool settle() {
        return loop().runUntil([this] { return delegate.settled(); }, platform::Millis(5000));
    }

    testsupport::LoopbackServer server;
    RecordingDelegate delegate;
    std::shared_ptr<platform::headless::HeadlessWebView> view;
};

TEST_F(WebViewFixture, LoadAsksTheDelegateAndSendsTheUserAgent) {
    view->loadRequest(UrlRequest::get(server.url("/page")));
    ASSERT_TRUE(settle());
    EXPECT_EQ(delegate.events, (std::vector<std::string>{"should:" + server.url("/page"), "start", "finish"}));
    EXPECT_EQ(delegate.types, std::vector<NavigationType>{NavigationType::Other});
    EXPECT_EQ(server.lastRequest().header("User-Agent"), view->userAgent());
    EXPECT_EQ(view->mainDocumentUrl(), server.url("/page"));
    EXPECT_EQ(view->lastStatusCode(), 200);
    ASSERT_EQ(view->loadedRequests().size(), 1u);
    EXPECT_EQ(view->loadedRequests()[0].headers.back(),
              (std::pair<std::string, std::string>{"User-Agent", view->userAgent()}));
}

TEST_F(WebViewFixture, ARefusedNavigationSendsNothing) {
    delegate.allow = false;
    EXPECT_FALSE(view->navigate(UrlRequest::get("webview://javascript_stopBGM"), NavigationType::LinkClicked));
    view->loadRequest(UrlRequest::get(server.url("/page")));
    loop().runFor(platform::Millis(100));
    EXPECT_EQ(delegate.events.size(), 2u);  // only the two decisions
    EXPECT_TRUE(server.requests().empty());
    EXPECT_TRUE(view->loadedRequests().empty());
}

TEST_F(WebViewFixture, FormPostCarriesItsBody) {
    UrlRequest post;
    post.url = server.url("/form");
    post.method = "POST";
    post.body = "a=1&b=%E3%81%82";
    post.headers = {{"Content-Type", "application/x-www-form-urlencoded"}, {"User-Agent", "page's own"}};
    EXPECT_TRUE(view->navigate(post, NavigationType::FormSubmitted));
    ASSERT_TRUE(settle());
    EXPECT_EQ(delegate.offered[0].body, "a=1&b=%E3%81%82");
    auto got = server.lastRequest();
    EXPECT_EQ(got.method, "POST");
    EXPECT_EQ(got.body, "a=1&b=%E3%81%82");
    EXPECT_EQ(got.header("User-Agent"), view->userAgent());  // the view's agent replaces the page's
}

TEST_F(WebViewFixture, FrameNavigationsAreOfferedButDoNotReplaceThePage) {
    UrlRequest frame = UrlRequest::get("webview://javascript_playSE?name=se_01.ogg");
    frame.mainFrame = false;
    frame.frameUrl = "http://ads.example.net/banner.html";
    EXPECT_TRUE(view->navigate(frame, NavigationType::Other));
    EXPECT_FALSE(delegate.offered[0].mainFrame);
    EXPECT_EQ(delegate.offered[0].frameUrl, "http://ads.example.net/banner.html");
    EXPECT_FALSE(view->isLoading());
    EXPECT_EQ(view->loadedRequests().size(), 1u);
    EXPECT_EQ(view->mainDocumentUrl(), "");
}

TEST_F(WebViewFixture, FailuresCarryThePhonesCodes) {
    testsupport::ClosedPort closed;
    view->loadRequest(UrlRequest::get(closed.url("/")));
    ASSERT_TRUE(settle());
    EXPECT_EQ(delegate.errors, std::vector<int>{WebError::kCannotConnectToHost});

    delegate.events.clear();
    view->loadRequest(UrlRequest::get("tarvel-pelora-browser://x"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(delegate.errors.back(), WebError::kUnsupportedUrl);
}

TEST_F(WebViewFixture, HttpErrorStatusStillFinishes) {
    view->loadRequest(UrlRequest::get(server.url("/missing")));
    ASSERT_TRUE(settle());
    EXPECT_EQ(delegate.events.back(), "finish");
    EXPECT_EQ(view->lastStatusCode(), 404);
}

TEST_F(WebViewFixture, RedirectsAndCookiesBehaveLikeABrowser) {
    view->loadRequest(UrlRequest::get(server.url("/login")));
    ASSERT_TRUE(settle());
    delegate.events.clear();
    view->loadRequest(UrlRequest::get(server.url("/moved")));
    ASSERT_TRUE(settle());
    EXPECT_EQ(view->mainDocumentUrl(), server.url("/page"));
    EXPECT_EQ(server.lastRequest().header("Cookie"), "sid=abc123");
    // Each hop was a navigation of its own.
    EXPECT_EQ(delegate.events, (std::vector<std::string>{"should:" + server.url("/moved"), "start",
                                                         "should:" + server.url("/page"), "finish"}));
}

TEST_F(WebViewFixture, ARefusedRedirectInterruptsTheLoad) {
    server.server().Get("/to-bridge", [](const httplib::Request&, httplib::Response& res) {
        res.set_redirect("webview://javascript_stopBGM");
    });
    struct Refuser : RecordingDelegate {
        bool webViewShouldStartLoad(WebView& v, const UrlRequest& r, NavigationType t) override {
            RecordingDelegate::webViewShouldStartLoad(v, r, t);
            return r.url.rfind("webview:", 0) != 0;
        }
    } refuser;
    view->setDelegate(&refuser);
    view->loadRequest(UrlRequest::get(server.url("/to-bridge")));
    ASSERT_TRUE(loop().runUntil([&] { return refuser.settled(); }, platform::Millis(5000)));
    EXPECT_EQ(refuser.errors, std::vector<int>{WebError::kFrameLoadInterrupted});
    EXPECT_EQ(refuser.offered.back().url, "webview://javascript_stopBGM");
    // The hop is asked for by the address that redirected, not the page shown.
    EXPECT_EQ(refuser.offered.back().frameUrl, server.url("/to-bridge"));
    EXPECT_TRUE(refuser.offered.front().frameUrl.empty());
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(WebViewFixture, PostAnsweredWithSeeOtherContinuesAsGet) {
    server.server().Post("/buy", [](const httplib::Request&, httplib::Response& res) {
        res.status = 303;
        res.set_header("Location", "/page");
    });
    UrlRequest post;
    post.url = server.url("/buy");
    post.method = "POST";
    post.body = "a=1";
    view->navigate(post, NavigationType::FormSubmitted);
    ASSERT_TRUE(settle());
    EXPECT_EQ(server.lastRequest().method, "GET");
    EXPECT_EQ(server.lastRequest().path, "/page");
    EXPECT_TRUE(delegate.offered.back().body.empty());
}

TEST_F(WebViewFixture, EndlessRedirectsFail) {
    server.server().Get("/loop", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/loop"); });
    view->loadRequest(UrlRequest::get(server.url("/loop")));
    ASSERT_TRUE(settle());
    EXPECT_EQ(delegate.errors, std::vector<int>{WebError::kTooManyRedirects});
}

TEST_F(WebViewFixture, ANewLoadCancelsThePendingOne) {
    view->setFetchesPages(false);
    view->loadRequest(UrlRequest::get("http://a.example/"));
    view->loadRequest(UrlRequest::get("http://b.example/"));
    EXPECT_EQ(delegate.errors, std::vector<int>{WebError::kCancelled});
    EXPECT_TRUE(view->finishLoad());
    EXPECT_EQ(view->mainDocumentUrl(), "http://b.example/");
    EXPECT_FALSE(view->finishLoad());  // nothing pending any more
    EXPECT_FALSE(view->failLoad(102));
}

TEST_F(WebViewFixture, TestsCanFailALoadWithAnyCode) {
    view->setFetchesPages(false);
    view->loadRequest(UrlRequest::get("http://a.example/"));
    EXPECT_TRUE(view->failLoad(WebError::kFrameLoadInterrupted));
    EXPECT_EQ(delegate.errors, std::vector<int>{102});
    EXPECT_FALSE(view->isLoading());
}

TEST_F(WebViewFixture, GoBackOffersTheEarlierPageAsBackForward) {
    view->setFetchesPages(false);
    EXPECT_FALSE(view->canGoBack());
    for (const char* url : {"http://a.example/", "http://b.example/"}) {
        view->loadRequest(UrlRequest::get(url));
        view->finishLoad();
    }
    ASSERT_TRUE(view->canGoBack());
    view->goBack();
    EXPECT_EQ(delegate.types.back(), NavigationType::BackForward);
    view->finishLoad();
    EXPECT_EQ(view->mainDocumentUrl(), "http://a.example/");
    EXPECT_FALSE(view->canGoBack());
}

TEST_F(WebViewFixture, ScriptAnswersArriveLaterOnTheMainLoop) {
    view->setScriptAnswerer([](const std::string& s) { return s == "apl_getSessionID();" ? "S-42" : ""; });
    std::string answer = "unset";
    view->evaluateScript("apl_getSessionID();", [&](const std::string& v) { answer = v; });
    view->evaluateScript("footerFunc(4);");
    EXPECT_EQ(answer, "unset");
    loop().runUntil([&] { return answer != "unset"; }, platform::Millis(1000));
    EXPECT_EQ(answer, "S-42");
    EXPECT_EQ(view->evaluatedScripts(), (std::vector<std::string>{"apl_getSessionID();", "footerFunc(4);"}));
}

TEST_F(WebViewFixture, ScriptsAndLoadsFromOtherThreadsAreRefused) {
    platform::LogCapture log;
    std::thread worker([&] {
        view->evaluateScript("callbackVoicePlayRes();");
        view->loadRequest(UrlRequest::get(server.url("/page")));
    });
    worker.join();
    EXPECT_TRUE(view->evaluatedScripts().empty());
    EXPECT_TRUE(view->loadedRequests().empty());
    EXPECT_TRUE(log.contains("off the main thread"));
}

TEST_F(WebViewFixture, DestroyingTheViewMidLoadIsSafe) {
    view->loadRequest(UrlRequest::get(server.url("/page")));
    view.reset();
    loop().runFor(platform::Millis(300));
    backend().queues().drain();
    loop().runFor(platform::Millis(50));
    EXPECT_EQ(delegate.events.back(), "start");  // nobody is told anything after that
}

TEST(WebErrorCodes, CurlFailuresMapToThePhonesCodes) {
    using platform::headless::webErrorCodeForCurl;
    EXPECT_EQ(webErrorCodeForCurl(0), 0);
    EXPECT_EQ(webErrorCodeForCurl(6), WebError::kCannotFindHost);       // CURLE_COULDNT_RESOLVE_HOST
    EXPECT_EQ(webErrorCodeForCurl(7), WebError::kCannotConnectToHost);  // CURLE_COULDNT_CONNECT
    EXPECT_EQ(webErrorCodeForCurl(28), WebError::kTimedOut);            // CURLE_OPERATION_TIMEDOUT
    EXPECT_EQ(webErrorCodeForCurl(1), WebError::kUnsupportedUrl);       // CURLE_UNSUPPORTED_PROTOCOL
    EXPECT_EQ(webErrorCodeForCurl(56), WebError::kUnknown);
}

TEST(WebErrorCodes, WebKitErrorsMapToThePhonesCodes) {
    using platform::WebKitErrorDomain;
    using platform::webErrorCodeForWebKit;
    EXPECT_EQ(webErrorCodeForWebKit(WebKitErrorDomain::Network, 302), WebError::kCancelled);
    EXPECT_EQ(webErrorCodeForWebKit(WebKitErrorDomain::Network, 399), WebError::kUnknown);
    EXPECT_EQ(webErrorCodeForWebKit(WebKitErrorDomain::Policy, 102), WebError::kFrameLoadInterrupted);
    EXPECT_EQ(webErrorCodeForWebKit(WebKitErrorDomain::Other, 302), WebError::kUnknown);
}

}  // namespace
