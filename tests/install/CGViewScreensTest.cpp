// The loading screen with the real bundle pictures in the headless main
// window: each screen is saved as a PNG (for people to look at) and probed.
#include <gtest/gtest.h>

#include <filesystem>

#include "CGViewFixture.h"
#include "install/DownloadRun.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/TemporaryHome.h"
#include "platform/ui/ImageCodec.h"
#include "platform/ui/Window.h"

namespace cgviewtest {
namespace {

using platform::ui::Rect;

// On the default 320 x 568 screen: install01 (640 x 854) fitted to the
// width, the 240 x 60 marks and the 300 x 90 button at half size below it.
constexpr Rect kPicture{0, 55.5, 320, 427};
constexpr Rect kMark{100, 510.25, 120, 30};
constexpr Rect kButton{85, 502.75, 150, 45};
constexpr std::uint32_t kInstall01 = 0x90A0B0;
constexpr std::uint32_t kInstall02 = 0xA0B0C0;
constexpr std::uint32_t kButtonPink = 0xE05AA0;

class CGViewScreens : public ::testing::Test {
protected:
    CGViewScreens() {
        backend_ = std::make_unique<platform::headless::HeadlessBackend>(
            platform::headless::HeadlessBackend::Options{.home = home_.path(), .bundle = {}, .virtualTime = true});
        platform::setBackend(backend_.get());
        std::filesystem::create_directories(kScreensDir);
    }
    ~CGViewScreens() override { backend_.reset(); }

    platform::ui::ImagePtr shoot(const std::string& name) {
        const std::string path = std::string(kScreensDir) + "/" + name + ".png";
        EXPECT_TRUE(backend_->headlessWindowing().writeScreenshot(path)) << path;
        auto image = platform::ui::decodeImageFile(path);
        EXPECT_TRUE(image) << path;
        return image;
    }

    static constexpr const char* kScreensDir = PELORA_CGVIEW_SCREENS_DIR;
    platform::headless::TemporaryHome home_;
    std::unique_ptr<platform::headless::HeadlessBackend> backend_;
};

TEST_F(CGViewScreens, EveryScreenOfAFirstInstallation) {
    backend_->preferences().setBool(install::kKeyDownloadFirst, true);
    auto& window = backend_->headlessWindowing().mainWindow();
    auto screen = std::make_shared<CGView>(window.bounds());
    screen->setBackgroundColor({1, 1, 1, 0});
    screen->setUserInteractionEnabled(false);
    window.addSubview(screen);
    const double w = window.bounds().width(), h = window.bounds().height();
    ASSERT_EQ(w, 320);
    ASSERT_EQ(h, 568);

    screen->setDrawState(3);
    screen->update();
    auto loading = shoot("cgview-state3-loading");
    ASSERT_TRUE(loading);
    const Rect centred{(w - 120) / 2, (h - 30) / 2, 120, 30};
    EXPECT_GT(countColour(*loading, centred, 0xFFFFFF, 40), 50) << "the white caption of the mark";
    EXPECT_EQ(countColour(*loading, {0, 0, w, centred.y()}, 0x000000), int(w * centred.y()));

    screen->setDrawState(4);
    screen->setDownloadParNum(42);
    for (int i = 0; i < 60; ++i) screen->update();
    ASSERT_EQ(screen->downloadParNowNum(), 42);
    auto page = shoot("cgview-state4-download");
    ASSERT_TRUE(page);
    EXPECT_EQ(rgbAt(*page, kPicture.x() + 5, kPicture.maxY() - 5), kInstall01);
    EXPECT_EQ(rgbAt(*page, 5, kPicture.y() - 5), 0x000000u);
    EXPECT_GT(countColour(*page, kMark, 0xFFFFFF, 40), 50) << "the download mark";
    EXPECT_GT(countColour(*page, {kMark.maxX(), kMark.y() - 10, 60, 30}, 0x00D9FF, 40), 30) << "42%";

    screen->touchesBegan({});
    screen->update();
    screen->update();
    auto sliding = shoot("cgview-state4-sliding");
    ASSERT_TRUE(sliding);
    // Two fifths of the way: the first picture's left edge is 256 points out.
    EXPECT_EQ(rgbAt(*sliding, 60, kPicture.maxY() - 5), kInstall01);
    EXPECT_EQ(rgbAt(*sliding, 200, kPicture.maxY() - 5), kInstall02);

    screen->setDownloadParNum(100);
    for (int i = 0; i < 60; ++i) screen->update();
    auto start = shoot("cgview-state4-start");
    ASSERT_TRUE(start);
    EXPECT_EQ(screen->getTouchNextArea(), kButton);
    EXPECT_EQ(rgbAt(*start, kButton.x() + 10, kButton.center().y), kButtonPink);
    EXPECT_EQ(rgbAt(*start, kPicture.x() + 5, kPicture.maxY() - 5), kInstall02);

    screen->setDrawState(2);
    screen->update();
    auto clear = shoot("cgview-state2-clear");
    ASSERT_TRUE(clear);
    EXPECT_EQ(rgbAt(*clear, w / 2, h / 2), rgbAt(*clear, 2, 2)) << "nothing drawn over the window";
}

}  // namespace
}  // namespace cgviewtest
