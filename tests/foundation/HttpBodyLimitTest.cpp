// A request's maxBodySize against a real server: a body over the limit ends
// the transfer as a distinct failure, whether its length is announced up
// front or only found while receiving, and memory never holds more.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "foundation/HttpClient.h"
#include "foundation/HttpRequest.h"
#include "foundation/HttpResponse.h"
#include "foundation/Ref.h"
#include "platform/Log.h"
#include "tests/support/LoopbackServer.h"

namespace {

using ResponsePtr = RK::RefPtr<RK::HttpResponse>;

constexpr std::size_t kLimit = 64 * 1024;

class HttpBodyLimitTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& s = server.server();
        // /sized/<n>: n bytes with a Content-Length.
        s.Get(R"(/sized/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(std::string(std::stoul(req.matches[1]), 'x'), "application/octet-stream");
        });
        // /chunked/<n>: n bytes without a length, in 8 KiB chunks.
        s.Get(R"(/chunked/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
            const std::size_t total = std::stoul(req.matches[1]);
            res.set_chunked_content_provider("application/octet-stream",
                                             [total, sent = std::size_t{0}](std::size_t, httplib::DataSink& sink) mutable {
                                                 const std::string chunk(std::min<std::size_t>(8192, total - sent), 'y');
                                                 if (!chunk.empty() && !sink.write(chunk.data(), chunk.size())) return false;
                                                 sent += chunk.size();
                                                 if (sent == total) sink.done();
                                                 return true;
                                             });
        });
        // A body without a length that never ends.
        s.Get("/endless", [](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("application/octet-stream", [](std::size_t, httplib::DataSink& sink) {
                const std::string chunk(8192, 'z');
                return sink.write(chunk.data(), chunk.size());
            });
        });
        ASSERT_TRUE(server.start());
    }

    ResponsePtr get(const std::string& path, std::size_t limit, RK::HttpBodySink sink = nullptr) {
        auto request = RK::RefPtr<RK::HttpGetRequest>::adopt(new RK::HttpGetRequest);
        request->setUrl(server.url(path).c_str());
        request->maxBodySize = limit;
        request->bodySink = std::move(sink);
        return ResponsePtr::adopt(RK::HttpClient::shared().send(request.get()));
    }

    testsupport::LoopbackServer server;
};

struct LimitCase {
    const char* path;
    const char* logged;  // the line that tells how the limit struck
};

TEST_F(HttpBodyLimitTest, BodyOverTheLimitFailsCleanlyWithAndWithoutALength) {
    const std::string over = std::to_string(kLimit + 1);
    const LimitCase cases[] = {
        {"/sized/", "announced body longer than the limit of 65536 bytes, transfer refused"},
        {"/chunked/", "body longer than the limit of 65536 bytes, transfer aborted"},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.path);
        platform::LogCapture log;
        auto r = get(c.path + over, kLimit);
        EXPECT_FALSE(r->succeeded);
        EXPECT_TRUE(r->bodyTooLarge);
        EXPECT_TRUE(r->body.empty());
        EXPECT_EQ(r->errorText, "response body over the limit of 65536 bytes");
        EXPECT_TRUE(log.contains(c.logged)) << log.text();
    }
}

TEST_F(HttpBodyLimitTest, BodyOfExactlyTheLimitOrWithoutALimitIsKept) {
    for (const char* path : {"/sized/", "/chunked/"}) {
        SCOPED_TRACE(path);
        auto exact = get(path + std::to_string(kLimit), kLimit);
        EXPECT_TRUE(exact->succeeded) << exact->errorText;
        EXPECT_FALSE(exact->bodyTooLarge);
        EXPECT_EQ(exact->body.size(), kLimit);
        auto unlimited = get(path + std::to_string(4 * kLimit), 0);
        EXPECT_TRUE(unlimited->succeeded) << unlimited->errorText;
        EXPECT_EQ(unlimited->body.size(), 4 * kLimit);
    }
}

// The server would send forever: the limit, not the time limit, ends it,
// and a sink is held to the limit too.
TEST_F(HttpBodyLimitTest, EndlessBodyStopsAtTheLimit) {
    const auto start = std::chrono::steady_clock::now();
    auto r = get("/endless", kLimit);
    EXPECT_TRUE(r->bodyTooLarge);
    EXPECT_TRUE(r->body.empty());
    std::size_t sunk = 0;
    auto s = get("/endless", kLimit, [&sunk](const char*, std::size_t n) {
        sunk += n;
        return true;
    });
    EXPECT_TRUE(s->bodyTooLarge);
    EXPECT_FALSE(s->succeeded);
    EXPECT_LE(sunk, kLimit);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
