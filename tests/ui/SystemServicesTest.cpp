// URL opening, the network indicator, the trackers' log and the version gates.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <thread>

#include "HeadlessFixture.h"
#include "platform/SystemVersion.h"
#include "platform/Trackers.h"
#include "platform/headless/HeadlessWindowing.h"

namespace {

class SystemServices : public uitest::HeadlessFixture {};

TEST_F(SystemServices, OpenUrlAndIndicatorAreRecorded) {
    platform::System& system = backend().system();
    EXPECT_TRUE(system.openUrl("mailto:support@example.com"));
    system.setNetworkActivityIndicatorVisible(true);
    EXPECT_TRUE(system.networkActivityIndicatorVisible());
    system.setNetworkActivityIndicatorVisible(false);
    auto& headless = backend().headlessSystem();
    EXPECT_EQ(headless.openedUrls(), std::vector<std::string>{"mailto:support@example.com"});
    EXPECT_EQ(headless.indicatorHistory(), (std::vector<bool>{true, false}));
    headless.setOpenUrlResult(false);
    EXPECT_FALSE(system.openUrl("line://msg"));
}

std::vector<nlohmann::json> readLines(const std::string& path) {
    std::vector<nlohmann::json> out;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) out.push_back(nlohmann::json::parse(line));
    return out;
}

TEST_F(SystemServices, TrackerCallsBecomeJsonLinesInTheAppHome) {
    auto& trackers = backend().trackers();
    trackers.call(platform::TrackerKind::AppEvents, "logEvent", {"first_app_launchar"});
    trackers.call(platform::TrackerKind::InstallAttribution, "sendEvent", {"31101"});
    trackers.call(platform::TrackerKind::AdConversion, "runInitial");
    trackers.call(platform::TrackerKind::AppEvents, "logEvent", {std::string("bad \xff utf8 \"q\"")});

    std::string path = backend().headlessTrackers().path();
    EXPECT_EQ(path.rfind(home_.path(), 0), 0u);  // inside the app home
    auto lines = readLines(path);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0]["kind"], "app_events");
    EXPECT_EQ(lines[0]["operation"], "logEvent");
    EXPECT_EQ(lines[0]["arguments"], nlohmann::json::array({"first_app_launchar"}));
    EXPECT_EQ(lines[1]["kind"], "install_attribution");
    EXPECT_EQ(lines[2]["kind"], "ad_conversion");
    EXPECT_TRUE(lines[2]["arguments"].empty());
    EXPECT_EQ(lines[3]["seq"], 4);
    EXPECT_NE(lines[3]["arguments"][0].get<std::string>().find("\"q\""), std::string::npos);
}

TEST_F(SystemServices, TrackerCallsFromManyThreadsKeepWholeLines) {
    auto& trackers = backend().trackers();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&trackers, t] {
            for (int i = 0; i < 50; ++i)
                trackers.call(platform::TrackerKind::InstallAttribution, "payment", {std::to_string(t), std::to_string(i)});
        });
    }
    for (auto& th : threads) th.join();
    auto lines = readLines(backend().headlessTrackers().path());
    ASSERT_EQ(lines.size(), 200u);
    std::vector<bool> seen(201);
    for (auto& l : lines) seen[l["seq"].get<int>()] = true;
    for (int s = 1; s <= 200; ++s) EXPECT_TRUE(seen[s]) << s;
}

TEST(SystemVersion, MajorVersionIsTheLeadingInteger) {
    struct Case {
        const char* text;
        int major;
    } cases[] = {{"4.3.5", 4}, {"5.1", 5}, {"6.0", 6}, {"8", 8}, {"10.2.1", 10}, {"", 0}, {"beta", 0}, {"6.1.0-13-amd64", 6}};
    for (const auto& c : cases) EXPECT_EQ(platform::systemMajorVersion(c.text), c.major) << c.text;
}

TEST_F(SystemServices, EveryVersionGateFlipsWithTheDevicesVersion) {
    // The gates the client reads: <= 4, > 5 (same as >= 6), >= 8 and exactly "6.0".
    struct Case {
        const char* version;
        bool atMost4, from6, from8, exactly60;
    } cases[] = {
        {"4.3", true, false, false, false},
        {"5.1.1", false, false, false, false},
        {"6.0", false, true, false, true},
        {"6.0.1", false, true, false, false},
        {"7.1", false, true, false, false},
        {"8.0", false, true, true, false},
    };
    for (const auto& c : cases) {
        backend().headlessDevice().setSystemVersion(c.version);
        int major = platform::currentSystemMajorVersion();
        EXPECT_EQ(major <= 4, c.atMost4) << c.version;
        EXPECT_EQ(major > 5, c.from6) << c.version;
        EXPECT_EQ(major >= 6, c.from6) << c.version;
        EXPECT_EQ(major >= 8, c.from8) << c.version;
        EXPECT_EQ(platform::currentSystemVersion() == "6.0", c.exactly60) << c.version;
    }
}

TEST(ScreenSize, ParsesWidthByHeightOnly) {
    struct Case {
        const char* text;
        bool ok;
        double w, h;
    } cases[] = {{"320x568", true, 320, 568}, {"768x1024", true, 768, 1024}, {"0x10", false, 0, 0},
                 {"x10", false, 0, 0},        {"10x", false, 0, 0},          {"-5x10", false, 0, 0},
                 {"99999x1", false, 0, 0},    {"3.5x2", false, 0, 0},        {"", false, 0, 0}};
    for (const auto& c : cases) {
        platform::ui::Size s;
        EXPECT_EQ(platform::headless::parseScreenSize(c.text, s), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(s, (platform::ui::Size{c.w, c.h})) << c.text;
        }
    }
}

}  // namespace
