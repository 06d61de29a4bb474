#include <gtest/gtest.h>

#include "foundation/HttpClient.h"
#include "foundation/HttpRequest.h"
#include "foundation/HttpResponse.h"
#include "foundation/Ref.h"
#include "platform/Log.h"
#include "tests/support/LoopbackServer.h"

namespace {

using ResponsePtr = RK::RefPtr<RK::HttpResponse>;

class TlsVerification {
public:
    explicit TlsVerification(bool on) : previous_(RK::HttpClient::shared().tlsVerification()) {
        RK::HttpClient::shared().setTlsVerification(on);
    }
    ~TlsVerification() { RK::HttpClient::shared().setTlsVerification(previous_); }

private:
    bool previous_;
};

class HttpTlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.server().Get("/app_version.php", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("1.0.0", "text/plain");
        });
        ASSERT_TRUE(server.start());
    }

    ResponsePtr get() {
        auto request = RK::RefPtr<RK::HttpGetRequest>::adopt(new RK::HttpGetRequest);
        request->setUrl(server.url("/app_version.php").c_str());
        return ResponsePtr::adopt(RK::HttpClient::shared().send(request.get()));
    }

    testsupport::LoopbackServer server{testsupport::Transport::TlsSelfSigned};
};

TEST_F(HttpTlsTest, UntrustedCertificateIsRefusedWhenVerifying) {
    TlsVerification on(true);
    auto r = get();
    EXPECT_FALSE(r->succeeded);
    EXPECT_EQ(r->statusCode, -1);
    EXPECT_NE(r->errorText.find("certificate"), std::string::npos) << r->errorText;
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(HttpTlsTest, TurningVerificationOffIsLoudOnEveryRequest) {
    platform::LogCapture log;
    TlsVerification off(false);
    EXPECT_TRUE(log.contains("TLS verification turned off"));
    auto first = get();
    auto second = get();
    EXPECT_TRUE(first->succeeded) << first->errorText;
    EXPECT_EQ(second->bodyString(), "1.0.0");
    const std::string text = log.text();
    std::size_t warnings = 0;
    for (std::size_t p = text.find("NOT verified"); p != std::string::npos; p = text.find("NOT verified", p + 1)) ++warnings;
    EXPECT_EQ(warnings, 2u);
}

}  // namespace
