// loadApp on a live controller: what the title sequence's start shows and
// hides, the title image's scaling per screen shape, and the shortcut a
// page's download request takes.
#include "tests/install/ControllerOnDemoServer.h"

namespace {

using ControllerLoadApp = installtest::ControllerOnDemoServer;
using platform::ui::ContentMode;

TEST_F(ControllerLoadApp, TitleImagesScaleByScreenShape) {
    c->_fadeStart = true;  // no logo animation in the way
    const std::vector<std::pair<platform::ui::Size, ContentMode>> cases = {
        {{320, 480}, ContentMode::Fill}, {{320, 568}, ContentMode::Fit}, {{768, 1024}, ContentMode::Fill},
        {{0, 0}, ContentMode::Fill}};
    for (const auto& [size, mode] : cases) {
        backend->headlessWindowing().setScreenBounds(size);
        c->loadApp();
        EXPECT_EQ(c->outlets()._imageTitle->contentMode(), mode) << size.width << "x" << size.height;
        EXPECT_EQ(c->outlets()._imageWebviewBack->contentMode(), mode) << size.width << "x" << size.height;
    }
}

TEST_F(ControllerLoadApp, ShowsOnlyTheTitleAndDropsTheLoadingScreen) {
    c->_fadeStart = true;
    c->setViewDraw(std::make_shared<CGView>(platform::ui::Rect{0, 0, 10, 10}));
    c->outlets()._imageTitle->setHidden(true);
    c->outlets()._btnTitleHikitsugi->setHidden(false);
    c->outlets()._imageFooter->setHidden(false);
    c->loadApp();
    EXPECT_FALSE(c->outlets()._imageTitle->isHidden());
    EXPECT_TRUE(c->outlets()._btnTitleHikitsugi->isHidden());
    EXPECT_TRUE(c->outlets()._imageFooter->isHidden());
    EXPECT_TRUE(c->outlets()._btnFooterMenu->isHidden());
    EXPECT_EQ(c->viewDraw(), nullptr);
    EXPECT_EQ(c->outlets()._imageTitle->alpha(), 1.0);  // no logo fade when it already ran
}

// The logo fades in over a second; only then does its voice start, and the
// sequence it leads reaches titleInit and the title's loading screen.
TEST_F(ControllerLoadApp, FirstStartFadesTheLogoInThenRunsTheTitleSequence) {
    c->_fadeStart = false;
    c->loadApp();
    EXPECT_TRUE(c->_fadeStart);
    EXPECT_TRUE(c->_audioFileName[0].rfind("tarvel_", 0) == 0) << c->_audioFileName[0];
    EXPECT_TRUE(c->_audioFileName[1].rfind("title_", 0) == 0) << c->_audioFileName[1];
    backend->mainLoop().runFor(std::chrono::milliseconds(900));
    EXPECT_EQ(c->_voice, nullptr);  // still fading in
    backend->mainLoop().runFor(std::chrono::milliseconds(300));
    EXPECT_NE(c->_voice, nullptr);
    ASSERT_TRUE(runUntil([&] { return screen() != nullptr; }, 60)) << logs.text();
    EXPECT_TRUE(c->_tittleShowFlg);
    EXPECT_FALSE(c->outlets()._btnTitleHikitsugi->isHidden());
}

TEST_F(ControllerLoadApp, PageAskedDownloadGoesStraightToTheRun) {
    c->_fadeStart = true;
    c->_dlState = 1;
    c->loadApp();
    ASSERT_TRUE(runUntil([&] { return screen() != nullptr; })) << logs.text();
    EXPECT_EQ(screen()->drawState(), 3);
    EXPECT_EQ(c->outlets()._imageTitle->alpha(), 1.0);
    ASSERT_TRUE(runUntil([&] { return showsFullGauge(); })) << logs.text();
    c->_dlWaitFlg = false;
    ASSERT_TRUE(runUntil([&] { return !homeLoads().empty(); })) << logs.text();
}

}  // namespace
