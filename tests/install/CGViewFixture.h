#pragma once
// A headless app home with a small bundle of plain-coloured pictures, so
// that every part of the loading screen can be told apart by pixel probes.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "install/CGView.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/TemporaryHome.h"
#include "platform/ui/Image.h"

namespace cgviewtest {

// Picture colours as 0xRRGGBB.
inline constexpr std::uint32_t kLoadingColour[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};
inline constexpr std::uint32_t kDownloadColour[4] = {0xFF00FF, 0x00FFFF, 0x808000, 0x008080};
inline constexpr std::uint32_t kButtonColour = 0xFF8000;
inline constexpr std::uint32_t kUpdateColour = 0x404040;
inline constexpr std::uint32_t kFileColour = 0xC0C0C0;
inline std::uint32_t installColour(int n) { return 0x100000u * unsigned(n) + 0x20; }  // n = 1 … 8

// Pixel sizes; the marks and the button are drawn at half size.
inline constexpr int kMarkW = 80, kMarkH = 40;      // drawn 40 x 20
inline constexpr int kButtonW = 120, kButtonH = 60;  // drawn 60 x 30
inline constexpr int kPictureW = 100, kPictureH = 50;

// View size used by the tests.
inline constexpr double kViewW = 200, kViewH = 300;

platform::ui::ImagePtr solid(int w, int h, std::uint32_t rgb);
bool writePicture(const std::string& path, int w, int h, std::uint32_t rgb);

class CGViewTest : public ::testing::Test {
protected:
    CGViewTest();
    ~CGViewTest() override;

    // Writes the test bundle (everything unless a name is left out).
    void writeBundle(const std::vector<std::string>& leaveOut = {});
    std::string bundleDir() const { return home_.path() + "/bundle"; }
    std::string pictureFile() const;
    void setFirstInstall(bool first);

    // A screen of kViewW x kViewH, ticked once so its state's images are in.
    std::shared_ptr<CGView> screenIn(int state);
    static void tick(CGView& view, int times = 1);
    static platform::ui::ImagePtr render(CGView& view);

    platform::headless::TemporaryHome home_;
    std::unique_ptr<platform::headless::HeadlessBackend> backend_;
};

// 0xRRGGBB of the pixel, and its alpha.
std::uint32_t rgbAt(const platform::ui::Image& image, double x, double y);
int alphaAt(const platform::ui::Image& image, double x, double y);
// How many pixels of the rectangle are within `tolerance` of the colour.
int countColour(const platform::ui::Image& image, platform::ui::Rect area, std::uint32_t rgb, int tolerance = 12);

}  // namespace cgviewtest
