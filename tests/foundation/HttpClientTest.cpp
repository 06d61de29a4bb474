#include "foundation/HttpClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "foundation/CurlTransfer.h"
#include "foundation/HttpRequest.h"
#include "foundation/HttpResponse.h"
#include "foundation/Ref.h"
#include "platform/Log.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TempDir.h"

namespace {

using RK::HttpResponse;
using ResponsePtr = RK::RefPtr<RK::HttpResponse>;
using RequestPtr = RK::RefPtr<RK::HttpRequest>;

RequestPtr makeRequest(int method, const std::string& url) {
    auto request = RequestPtr::adopt(new RK::HttpRequest);
    request->method = method;
    request->setUrl(url.c_str());
    return request;
}

ResponsePtr send(const RequestPtr& request) {
    return ResponsePtr::adopt(RK::HttpClient::shared().send(request.get()));
}

ResponsePtr get(const std::string& url) { return send(makeRequest(RK::HttpMethodGet, url)); }

std::string headers(const ResponsePtr& r) { return r->headerString(); }

class HttpClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& s = server.server();
        s.Get("/hello", [](const httplib::Request&, httplib::Response& res) {
            res.set_header("X-Test", "yes");
            res.set_content("hello", "text/plain");
        });
        s.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_header("X-Why", "gone");
            res.set_content("not here", "text/plain");
        });
        auto redirect = [](const char* to) {
            return [to](const httplib::Request&, httplib::Response& res) { res.set_redirect(to, 302); };
        };
        s.Get("/redirect", redirect("/hello"));
        s.Post("/redirect", redirect("/hello"));
        s.Get("/redirect-missing", redirect("/missing"));
        auto echo = [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(req.method + ":" + req.body, "application/octet-stream");
        };
        s.Post("/echo", echo);
        s.Put("/echo", echo);
        s.Delete("/echo", echo);
        s.Get("/slow", [](const httplib::Request&, httplib::Response& res) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2500));
            res.set_content("late", "text/plain");
        });
        s.Get("/cookie/set", [](const httplib::Request&, httplib::Response& res) {
            res.set_header("Set-Cookie", "session=abc; Path=/");
            res.set_content("set", "text/plain");
        });
        s.Get("/cookie/check", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("checked", "text/plain");
        });
        s.Get("/binary", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string("a\0b\0", 4), "application/octet-stream");
        });
        // Announces far more than it sends, then drops the connection.
        s.Get("/liar", [](const httplib::Request& req, httplib::Response& res) {
            const std::size_t announced = std::stoull(req.get_param_value("length"));
            res.set_content_provider(announced, "application/octet-stream",
                                     [](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                         return offset == 0 && sink.write("abc", 3);
                                     });
        });
        ASSERT_TRUE(server.start());
    }

    testsupport::LoopbackServer server;
};

TEST_F(HttpClientTest, GetStoresBodyStatusAndHeaderLinesWithOneLineFeed) {
    auto r = get(server.url("/hello"));
    EXPECT_TRUE(r->succeeded);
    EXPECT_EQ(r->statusCode, 200);
    EXPECT_EQ(r->bodyString(), "hello");
    EXPECT_EQ(r->errorText, "");
    const std::string h = headers(r);
    EXPECT_EQ(h.rfind("HTTP/1.1 200 OK\n", 0), 0u) << h;
    EXPECT_NE(h.find("\nX-Test: yes\n"), std::string::npos) << h;
    EXPECT_EQ(h.find('\r'), std::string::npos);
    EXPECT_EQ(h.substr(h.size() - 2), "\n\n");  // the blank line ending the block
}

TEST_F(HttpClientTest, BodyKeepsZeroBytes) {
    auto r = get(server.url("/binary"));
    EXPECT_EQ(r->bodyString(), std::string("a\0b\0", 4));
}

TEST_F(HttpClientTest, GetFollowsRedirectsAndTheFinalStatusDecides) {
    auto r = get(server.url("/redirect"));
    EXPECT_TRUE(r->succeeded);
    EXPECT_EQ(r->statusCode, 200);
    EXPECT_EQ(r->bodyString(), "hello");
    EXPECT_NE(headers(r).find("HTTP/1.1 302"), std::string::npos);

    auto missing = get(server.url("/redirect-missing"));
    EXPECT_FALSE(missing->succeeded);
    EXPECT_EQ(missing->statusCode, 404);
    EXPECT_EQ(missing->bodyString(), "not here");
}

// The announced length is only a hint for reserving room: a lying server
// must neither make us allocate without bound nor crash the transfer.
TEST_F(HttpClientTest, AnnouncedLengthBeyondTheBodyEndsAsAFailure) {
    for (const char* length : {"1099511627776", "1048576"}) {
        SCOPED_TRACE(length);
        auto r = get(server.url(std::string("/liar?length=") + length));
        EXPECT_FALSE(r->succeeded);
        EXPECT_EQ(r->statusCode, -1);
        EXPECT_FALSE(r->errorText.empty());
        EXPECT_EQ(r->bodyString().substr(0, 3), "abc");
    }
}

TEST_F(HttpClientTest, PostDoesNotFollowRedirects) {
    auto r = send(makeRequest(RK::HttpMethodPost, server.url("/redirect")));
    EXPECT_FALSE(r->succeeded);
    EXPECT_EQ(r->statusCode, 302);
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(HttpClientTest, NotFoundKeepsBodyAndHeadersWithEmptyErrorText) {
    platform::LogCapture log;
    auto r = get(server.url("/missing"));
    EXPECT_FALSE(r->succeeded);
    EXPECT_EQ(r->statusCode, 404);
    EXPECT_EQ(r->bodyString(), "not here");
    EXPECT_NE(headers(r).find("\nX-Why: gone\n"), std::string::npos);
    EXPECT_EQ(r->errorText, "");
    EXPECT_TRUE(log.contains("status 404"));
}

TEST_F(HttpClientTest, UnreachablePortGivesMinusOneAndLibcurlsMessage) {
    testsupport::ClosedPort closed;
    ASSERT_GT(closed.port(), 0);
    auto r = get(closed.url("/hello"));
    EXPECT_FALSE(r->succeeded);
    EXPECT_EQ(r->statusCode, -1);
    EXPECT_NE(r->errorText.find("onnect"), std::string::npos) << r->errorText;
    EXPECT_NE(r->errorText.find(std::to_string(closed.port())), std::string::npos) << r->errorText;
}

TEST_F(HttpClientTest, TransferTimeLimitEndsASlowAnswer) {
    auto request = makeRequest(RK::HttpMethodGet, server.url("/slow"));
    request->timeout = 1;
    const auto start = std::chrono::steady_clock::now();
    auto r = send(request);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(r->succeeded);
    EXPECT_EQ(r->statusCode, -1);
    EXPECT_NE(r->errorText.find("timed out"), std::string::npos) << r->errorText;
    EXPECT_LT(took, std::chrono::milliseconds(2300));
}

TEST_F(HttpClientTest, UserAgentAndExtraHeadersAreSent) {
    auto& client = RK::HttpClient::shared();
    const std::string previous = client.defaultUserAgent();
    client.setDefaultUserAgent("Mozilla/5.0 (Linux) Pelora/1.0.0");
    auto request = makeRequest(RK::HttpMethodGet, server.url("/hello"));
    client.setDefaultUserAgent(previous);
    request->headers = {"X-One: 1", "X-Two: two words"};
    auto r = send(request);
    ASSERT_TRUE(r->succeeded);
    const auto seen = server.lastRequest();
    EXPECT_EQ(seen.header("User-Agent"), "Mozilla/5.0 (Linux) Pelora/1.0.0");
    EXPECT_EQ(seen.header("X-One"), "1");
    EXPECT_EQ(seen.header("X-Two"), "two words");
}

struct BodyCase {
    int method;
    const char* name;
    std::string body;
};

TEST_F(HttpClientTest, MethodsSendTheirBodies) {
    const BodyCase cases[] = {
        {RK::HttpMethodPost, "POST", ""},
        {RK::HttpMethodPost, "POST", std::string("k=v\0z", 5)},
        {RK::HttpMethodPut, "PUT", "put body"},
        {RK::HttpMethodPut, "PUT", ""},
        {RK::HttpMethodDelete, "DELETE", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " with " + std::to_string(c.body.size()) + " bytes");
        auto request = makeRequest(c.method, server.url("/echo"));
        request->body.assign(c.body.begin(), c.body.end());
        auto r = send(request);
        EXPECT_TRUE(r->succeeded) << r->errorText;
        EXPECT_EQ(r->bodyString(), std::string(c.name) + ":" + c.body);
        const auto seen = server.lastRequest();
        EXPECT_EQ(seen.method, c.name);
        EXPECT_EQ(seen.body, c.body);
        if (c.method == RK::HttpMethodPost) {
            EXPECT_EQ(seen.header("Content-Length"), std::to_string(c.body.size()));
        }
    }
}

TEST_F(HttpClientTest, UnknownMethodFailsWithoutATransfer) {
    auto r = send(makeRequest(0, server.url("/hello")));
    EXPECT_FALSE(r->succeeded);
    EXPECT_EQ(r->statusCode, -1);
    EXPECT_NE(r->errorText.find("method"), std::string::npos);
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(HttpClientTest, NullRequestGivesAFailedResponse) {
    auto r = ResponsePtr::adopt(RK::HttpClient::shared().send(nullptr));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->request(), nullptr);
    EXPECT_FALSE(r->succeeded);
    EXPECT_EQ(r->statusCode, -1);
}

class TrackedRequest : public RK::HttpGetRequest {
public:
    explicit TrackedRequest(int* destroyed) : destroyed_(destroyed) {}

protected:
    ~TrackedRequest() override { ++*destroyed_; }

private:
    int* destroyed_;
};

TEST_F(HttpClientTest, RequestOutlivesItsCallerThroughTheResponse) {
    int destroyed = 0;
    auto* request = new TrackedRequest(&destroyed);
    request->setUrl(server.url("/hello").c_str());
    HttpResponse* response = RK::HttpClient::shared().send(request);
    EXPECT_EQ(response->refCount(), 1);
    EXPECT_EQ(request->refCount(), 2);
    request->release();
    EXPECT_EQ(destroyed, 0);
    ASSERT_EQ(response->request(), request);
    EXPECT_EQ(response->request()->url, server.url("/hello"));
    EXPECT_EQ(response->request()->refCount(), 1);
    response->release();
    EXPECT_EQ(destroyed, 1);
}

TEST_F(HttpClientTest, CookieFileCarriesCookiesBetweenRequests) {
    testsupport::TempDir dir;
    const std::string jar = dir.file("cookies.txt");
    RK::setCookieFilePath(jar);
    auto set = get(server.url("/cookie/set"));
    auto check = get(server.url("/cookie/check"));
    RK::setCookieFilePath("");
    EXPECT_TRUE(set->succeeded);
    EXPECT_TRUE(std::filesystem::exists(jar));
    EXPECT_EQ(server.lastRequest().header("Cookie"), "session=abc");

    auto without = get(server.url("/cookie/check"));
    EXPECT_FALSE(server.lastRequest().hasHeader("Cookie"));
}

TEST(HttpHeaderReceiver, StoresEveryLineWithOneLineFeed) {
    const std::pair<std::string, std::string> cases[] = {
        {"HTTP/1.1 200 OK\r\n", "HTTP/1.1 200 OK\n"},
        {"\r\n", "\n"},
        {"\n", "\n"},              // bare line feed: no read before the line
        {"X: y\n", "X: y\n"},      // LF-only line keeps its last character
        {"a", "a\n"},
        {"\r", "\n"},
        {"", ""},
    };
    for (const auto& [line, stored] : cases) {
        SCOPED_TRACE(testing::PrintToString(line));
        // An exact-size heap copy lets ASan see any read or write outside it.
        std::unique_ptr<char[]> data(new char[line.size() ? line.size() : 1]);
        std::memcpy(data.get(), line.data(), line.size());
        std::vector<char> text;
        EXPECT_EQ(RK::CurlTransfer::receiveHeader(data.get(), 1, line.size(), &text), line.size());
        EXPECT_EQ(std::string(text.begin(), text.end()), stored);
    }
}

}  // namespace
