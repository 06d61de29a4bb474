#include "foundation/HttpRequest.h"

#include <gtest/gtest.h>

#include "foundation/HttpClient.h"
#include "foundation/Ref.h"

namespace {

class DefaultHost {
public:
    explicit DefaultHost(const std::string& host) : previous_(RK::defaultHost()) {
        RK::setDefaultHost(host);
    }
    ~DefaultHost() { RK::setDefaultHost(previous_); }

private:
    std::string previous_;
};

struct UrlCase {
    const char* host;
    const char* given;
    const char* url;
};

TEST(HttpRequest, SetUrlExpandsTheDefaultHostScheme) {
    const UrlCase cases[] = {
        {"", "dd://img/a.png", "http:///img/a.png"},
        {"cdn.example", "dd://img/a.png", "http://cdn.example/img/a.png"},
        {"cdn.example", "DD://x", "http://cdn.example/x"},
        {"cdn.example", "dd://", "http://cdn.example/"},
        {"cdn.example", "http://a/b?dd://", "http://a/b?dd://"},
        {"cdn.example", "dd:/x", "dd:/x"},
        {"cdn.example", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given);
        DefaultHost host(c.host);
        auto request = RK::RefPtr<RK::HttpRequest>::adopt(new RK::HttpRequest);
        request->setUrl(c.given);
        EXPECT_EQ(request->url, c.url);
    }
}

TEST(HttpRequest, StartsWithItsDefaultsAndTheClientsUserAgent) {
    auto& client = RK::HttpClient::shared();
    const std::string previous = client.defaultUserAgent();
    client.setDefaultUserAgent("Pelora/1.0 (test)");
    auto request = RK::RefPtr<RK::HttpRequest>::adopt(new RK::HttpRequest);
    client.setDefaultUserAgent("changed later");
    auto get = RK::RefPtr<RK::HttpGetRequest>::adopt(new RK::HttpGetRequest);
    client.setDefaultUserAgent(previous);

    EXPECT_EQ(request->method, 0);
    EXPECT_EQ(request->connectTimeout, 30);
    EXPECT_EQ(request->timeout, 60);
    EXPECT_EQ(request->userAgent, "Pelora/1.0 (test)");  // copied, not shared
    EXPECT_EQ(get->method, RK::HttpMethodGet);
    EXPECT_EQ(get->userAgent, "changed later");
    request->setUrl(nullptr);
    EXPECT_EQ(request->url, "");
}

}  // namespace
