#include <gtest/gtest.h>

#include <string>

#include "foundation/HttpClient.h"
#include "foundation/HttpRequest.h"
#include "foundation/HttpResponse.h"
#include "foundation/Ref.h"
#include "platform/Log.h"
#include "tests/support/LoopbackServer.h"

namespace {

using ResponsePtr = RK::RefPtr<RK::HttpResponse>;

std::string pattern(std::size_t n) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + i / 251) & 0xff);
    return s;
}

class HttpBodySinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.server().Get("/archive.zip", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(payload, "application/zip");
        });
        server.server().Get("/moved", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("/archive.zip", 302);
            res.set_content("redirect page that must not reach the sink", "text/html");
        });
        ASSERT_TRUE(server.start());
    }

    ResponsePtr fetch(const std::string& path, RK::HttpBodySink sink) {
        auto request = RK::RefPtr<RK::HttpGetRequest>::adopt(new RK::HttpGetRequest);
        request->setUrl(server.url(path).c_str());
        request->bodySink = std::move(sink);
        return ResponsePtr::adopt(RK::HttpClient::shared().send(request.get()));
    }

    const std::string payload = pattern(3 * 1024 * 1024 + 17);
    testsupport::LoopbackServer server;
};

TEST_F(HttpBodySinkTest, SinkReceivesTheWholeBodyAndTheResponseHoldsNone) {
    std::string received;
    int chunks = 0;
    auto r = fetch("/archive.zip", [&](const char* data, std::size_t n) {
        received.append(data, n);
        ++chunks;
        return true;
    });
    EXPECT_TRUE(r->succeeded);
    EXPECT_EQ(r->statusCode, 200);
    EXPECT_TRUE(r->body.empty());
    EXPECT_GT(chunks, 1);  // streamed, not handed over at the end
    EXPECT_TRUE(received == payload);
    EXPECT_NE(r->headerString().find("Content-Type: application/zip\n"), std::string::npos);
}

TEST_F(HttpBodySinkTest, RedirectBodiesDoNotReachTheSink) {
    std::string received;
    auto r = fetch("/moved", [&](const char* data, std::size_t n) {
        received.append(data, n);
        return true;
    });
    EXPECT_TRUE(r->succeeded);
    EXPECT_TRUE(received == payload);
}

TEST_F(HttpBodySinkTest, RefusingSinkAbortsTheTransferAsAFailure) {
    platform::LogCapture log;
    std::size_t received = 0;
    auto r = fetch("/archive.zip", [&](const char*, std::size_t n) {
        received += n;
        return received < 64 * 1024;  // a disk that fills up after 64 KiB
    });
    EXPECT_FALSE(r->succeeded);
    EXPECT_EQ(r->statusCode, -1);
    EXPECT_FALSE(r->errorText.empty());
    EXPECT_LT(received, payload.size());
    EXPECT_TRUE(log.contains("body sink refused"));
}

TEST_F(HttpBodySinkTest, ThrowingSinkAbortsWithoutUnwindingThroughLibcurl) {
    platform::LogCapture log;
    auto r = fetch("/archive.zip", [](const char*, std::size_t) -> bool { throw 42; });
    EXPECT_FALSE(r->succeeded);
    EXPECT_TRUE(log.contains("body sink threw"));
}

TEST_F(HttpBodySinkTest, WithoutASinkTheBodyIsCollected) {
    auto r = fetch("/archive.zip", nullptr);
    EXPECT_TRUE(r->succeeded);
    EXPECT_TRUE(r->bodyString() == payload);
}

}  // namespace
