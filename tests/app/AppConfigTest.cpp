// Deployment values and their command-line overrides.
#include <gtest/gtest.h>

#include "app/AppConfig.h"

namespace app {
namespace {

TEST(AppConfigTest, BaseUrlsFromHostsWithOrWithoutScheme) {
    AppConfig c;
    struct {
        const char* host;
        const char* base;
    } cases[] = {{"game.example.jp", "http://game.example.jp"},
                 {"127.0.0.1:8080", "http://127.0.0.1:8080"},
                 {"http://127.0.0.1:8080", "http://127.0.0.1:8080"},
                 {"https://game.example.jp/", "https://game.example.jp"}};
    for (const auto& k : cases) {
        c.appHost = k.host;
        c.downloadHost = k.host;
        EXPECT_EQ(c.appBaseUrl(), k.base) << k.host;
        EXPECT_EQ(c.downloadBaseUrl(), k.base) << k.host;
    }
}

TEST(AppConfigTest, FlagsOverrideAndTheRestStaysInOrder) {
    AppConfig c = defaultAppConfig();
    EXPECT_EQ(c.secretKey.size(), 16u);
    std::vector<std::string> rest;
    std::string error;
    ASSERT_TRUE(applyCommandLine({"--app-host=a.jp", "x.scn", "--home=/tmp/h", "--fetch"}, c, rest, error));
    EXPECT_EQ(c.appHost, "a.jp");
    EXPECT_EQ(c.homeDir, "/tmp/h");
    EXPECT_EQ(rest, (std::vector<std::string>{"x.scn", "--fetch"}));
    rest.clear();
    EXPECT_FALSE(applyCommandLine({"--download-host="}, c, rest, error));
    EXPECT_EQ(error, "empty value for --download-host");
}

TEST(AppConfigTest, PageHostsComeFromTheBuildOrTheCommandLine) {
    AppConfig c = defaultAppConfig();
    EXPECT_EQ(c.pageHosts, "");  // only the application host unless the operator says more
    std::vector<std::string> rest;
    std::string error;
    ASSERT_TRUE(applyCommandLine({"--page-hosts=cdn.example.jp, https://pages.example.jp:8443"}, c, rest, error));
    EXPECT_EQ(c.pageHosts, "cdn.example.jp, https://pages.example.jp:8443");
    for (const char* bad : {"--page-hosts=a.jp,*.example.jp", "--page-hosts=a.jp/path", "--page-hosts=a.jp:99999"}) {
        AppConfig d;
        EXPECT_FALSE(applyCommandLine({bad}, d, rest, error)) << bad;
        EXPECT_NE(error.find("bad host"), std::string::npos) << error;
        EXPECT_EQ(d.pageHosts, "") << bad;
    }
}

}  // namespace
}  // namespace app
