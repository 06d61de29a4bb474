#include <gtest/gtest.h>

#include <atomic>
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

}  // namespace
