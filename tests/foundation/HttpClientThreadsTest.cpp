#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "foundation/HttpClient.h"
#include "foundation/HttpRequest.h"
#include "foundation/HttpResponse.h"
#include "foundation/Ref.h"
#include "tests/support/LoopbackServer.h"

namespace {

// The download worker sends while the main thread may still set the user
// agent; each send owns its handle, so concurrent sends are independent.
TEST(HttpClientThreads, ConcurrentSendsWhileTheUserAgentChanges) {
    testsupport::LoopbackServer server;
    server.server().Get("/n", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content(req.get_param_value("i"), "text/plain");
    });
    ASSERT_TRUE(server.start());

    std::atomic<int> good{0};
    auto worker = [&](int base) {
        for (int i = 0; i < 8; ++i) {
            auto request = RK::RefPtr<RK::HttpGetRequest>::adopt(new RK::HttpGetRequest);
            const std::string n = std::to_string(base + i);
            request->setUrl(server.url("/n?i=" + n).c_str());
            auto r = RK::RefPtr<RK::HttpResponse>::adopt(RK::HttpClient::shared().send(request.get()));
            if (r->succeeded && r->bodyString() == n) ++good;
        }
    };
    std::vector<std::thread> threads;
    threads.emplace_back(worker, 100);
    threads.emplace_back(worker, 200);
    const std::string previous = RK::HttpClient::shared().defaultUserAgent();
    for (int i = 0; i < 200; ++i) RK::HttpClient::shared().setDefaultUserAgent("ua-" + std::to_string(i));
    for (auto& t : threads) t.join();
    RK::HttpClient::shared().setDefaultUserAgent(previous);
    EXPECT_EQ(good.load(), 16);
}

// A body that trickles out for seconds: the cancel flag, set from another
// thread mid-transfer or before the send, ends it within moments as a
// failure, and the server sees the client hang up.
TEST(HttpClientThreads, CancelFlagStopsATransferInFlight) {
    using namespace std::chrono_literals;
    constexpr std::size_t kChunk = 1024, kTotal = 400 * kChunk;  // about 4 s
    std::atomic<std::size_t> sent{0};
    testsupport::LoopbackServer server;
    server.server().Get("/slow", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(kTotal, "application/octet-stream",
                                 [&](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                     std::this_thread::sleep_for(10ms);
                                     const std::string chunk(std::min(kChunk, kTotal - offset), 'x');
                                     if (!sink.write(chunk.data(), chunk.size())) return false;
                                     sent += chunk.size();
                                     return true;
                                 });
    });
    ASSERT_TRUE(server.start());

    for (bool early : {false, true}) {
        auto flag = std::make_shared<std::atomic<bool>>(early);
        auto request = RK::RefPtr<RK::HttpGetRequest>::adopt(new RK::HttpGetRequest);
        request->setUrl(server.url("/slow").c_str());
        request->cancel = flag;
        std::thread canceller([&] {
            while (!early && sent < 4 * kChunk) std::this_thread::sleep_for(1ms);
            flag->store(true);
        });
        const auto begin = std::chrono::steady_clock::now();
        auto r = RK::RefPtr<RK::HttpResponse>::adopt(RK::HttpClient::shared().send(request.get()));
        const auto took = std::chrono::steady_clock::now() - begin;
        canceller.join();
        EXPECT_FALSE(r->succeeded) << early;
        EXPECT_FALSE(r->errorText.empty()) << early;
        EXPECT_LT(r->body.size(), kTotal) << early;
        EXPECT_LT(took, 2s) << early;
    }
}

}  // namespace
