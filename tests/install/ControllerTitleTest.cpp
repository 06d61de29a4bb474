// titleInit on a live controller: the version check's outcomes against the
// demo server, the loading screen it puts up, and the checking box.
#include "tests/install/ControllerOnDemoServer.h"

namespace {

using ControllerTitle = installtest::ControllerOnDemoServer;

struct VersionCase {
    const char* name;
    std::string answer;  // empty: the content's own answer
    int status;          // 0: answered normally
    int alertTag;        // 0: no alert
    bool opensPages;
};

class TitleVersion : public installtest::ControllerOnDemoServer,
                     public ::testing::WithParamInterface<VersionCase> {};

TEST_P(TitleVersion, EndsAsTheAnswerSays) {
    const VersionCase& v = GetParam();
    if (!v.answer.empty()) server.setVersionAnswer(v.answer);
    if (v.status != 0) server.setStatus("/app_version.php", v.status);
    c->titleInit();
    backend->mainLoop().runFor(std::chrono::milliseconds(50));

    const auto alerts = backend->headlessWindowing().visibleAlerts();
    if (v.alertTag == 0) {
        EXPECT_TRUE(alerts.empty());
    } else {
        ASSERT_EQ(alerts.size(), 1u);
        EXPECT_EQ(alerts[0]->tag(), v.alertTag);
    }
    EXPECT_EQ(!homeLoads().empty(), v.opensPages);
    // Only a current build goes on to the loading screen.
    const bool current = v.alertTag == 0 && !v.opensPages;
    EXPECT_EQ(screen() != nullptr, current);
    EXPECT_EQ(c->_dlWaitFlg.load(), current);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, TitleVersion,
    ::testing::Values(VersionCase{"current", "", 0, 0, false},
                      VersionCase{"newer_version", "1,PELORA_ver02", 0, app::kAlertUpdate, false},
                      VersionCase{"maintenance_skips_the_title", "2", 0, 0, true},
                      VersionCase{"no_second_field", "1", 0, app::kAlertVersionCheckFailed, false},
                      VersionCase{"server_error_page", "1,PELORA_ver02", 500, app::kAlertVersionCheckFailed, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ControllerTitle, CurrentBuildPutsUpAnEmptyLoadingScreenAndWaitsForTheTap) {
    c->titleInit();
    ASSERT_TRUE(runUntil([&] { return screen() != nullptr; })) << logs.text();
    auto s = screen();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->tag(), app::kTagLoadingScreen);
    EXPECT_EQ(s->drawState(), 1);
    EXPECT_FALSE(s->isUserInteractionEnabled());
    EXPECT_EQ(s->superview(), c->outlets()._viewContents.get());
    EXPECT_TRUE(c->_viewDrawAddFlg);
    EXPECT_FALSE(c->outlets()._btnTitleHikitsugi->isHidden());
    EXPECT_TRUE(c->_tittleShowFlg);
    // No run until the title is tapped.
    backend->mainLoop().runFor(std::chrono::seconds(1));
    backend->queues().drain();
    EXPECT_EQ(listRequests(), 0);
}

TEST_F(ControllerTitle, PageAskedDownloadStartsTheRunAtOnce) {
    c->_dlState = 1;
    c->titleInit();
    ASSERT_TRUE(runUntil([&] { return screen() != nullptr; })) << logs.text();
    EXPECT_EQ(screen()->drawState(), 3);
    EXPECT_TRUE(c->outlets()._imageTitle->isHidden());
    EXPECT_TRUE(c->outlets()._btnTitleHikitsugi->isHidden());
    ASSERT_TRUE(runUntil([&] { return showsFullGauge(); })) << logs.text();
    EXPECT_EQ(listRequests(), 1);
    c->_dlWaitFlg = false;
    ASSERT_TRUE(runUntil([&] { return !homeLoads().empty(); })) << logs.text();
    EXPECT_EQ(c->_dlState, 0);
}

// The box goes up with titleInit and is down once the check is over, round
// after round of the update alert.
TEST_F(ControllerTitle, CheckingBoxIsDownAfterTheCheck) {
    for (int i = 0; i < 5; ++i) {
        server.setVersionAnswer("1,PELORA_ver02");
        c->titleInit();
        EXPECT_FALSE(c->_loadingContainer->isHidden()) << i;
        backend->mainLoop().runFor(std::chrono::milliseconds(20));
        EXPECT_TRUE(c->_loadingContainer->isHidden()) << i;
        EXPECT_FALSE(backend->headlessSystem().networkActivityIndicatorVisible()) << i;
        backend->headlessWindowing().tapFrontAlert();
    }
}

}  // namespace
