#include "CGViewFixture.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "install/DownloadRun.h"
#include "platform/ui/ImageCodec.h"
#include "platform/ui/Renderer.h"

namespace cgviewtest {

platform::ui::ImagePtr solid(int w, int h, std::uint32_t rgb) {
    std::vector<std::uint8_t> px(std::size_t(w) * std::size_t(h) * 4);
    for (std::size_t i = 0; i < px.size(); i += 4) {
        px[i] = std::uint8_t(rgb >> 16), px[i + 1] = std::uint8_t(rgb >> 8), px[i + 2] = std::uint8_t(rgb);
        px[i + 3] = 0xFF;
    }
    return platform::ui::Image::fromPixels(w, h, std::move(px));
}

bool writePicture(const std::string& path, int w, int h, std::uint32_t rgb) {
    auto image = solid(w, h, rgb);
    return image && platform::ui::writePng(*image, path);
}

CGViewTest::CGViewTest() {
    std::filesystem::create_directories(home_.path() + "/bundle");
    backend_ = std::make_unique<platform::headless::HeadlessBackend>(platform::headless::HeadlessBackend::Options{
        .home = home_.path() + "/home", .bundle = bundleDir(), .virtualTime = true});
    platform::setBackend(backend_.get());
}

CGViewTest::~CGViewTest() { backend_.reset(); }

void CGViewTest::writeBundle(const std::vector<std::string>& leaveOut) {
    auto put = [&](const std::string& name, int w, int h, std::uint32_t rgb) {
        for (const auto& skip : leaveOut) {
            if (skip == name) return;
        }
        ASSERT_TRUE(writePicture(bundleDir() + "/" + name, w, h, rgb)) << name;
    };
    for (int i = 0; i < 4; ++i) {
        put("now_loading" + std::to_string(i + 1) + ".png", kMarkW, kMarkH, kLoadingColour[i]);
        put("app_download" + std::to_string(i + 1) + ".png", kMarkW, kMarkH, kDownloadColour[i]);
    }
    put("game_start_button.png", kButtonW, kButtonH, kButtonColour);
    // PNG data under the bundle's ".jpg" names: pictures are told by content.
    for (int n = 1; n <= 8; ++n) put("install0" + std::to_string(n) + ".jpg", kPictureW, kPictureH, installColour(n));
    put("update00.png", kPictureW, kPictureH, kUpdateColour);
}

std::string CGViewTest::pictureFile() const {
    return backend_->directories().temporary() + "/" + install::kPictureFileName;
}

void CGViewTest::setFirstInstall(bool first) {
    backend_->preferences().setBool(install::kKeyDownloadFirst, first);
}

std::shared_ptr<CGView> CGViewTest::screenIn(int state) {
    auto view = std::make_shared<CGView>(platform::ui::Rect{0, 0, kViewW, kViewH});
    view->setBackgroundColor({1, 1, 1, 0});
    view->setDrawState(state);
    view->update();
    return view;
}

void CGViewTest::tick(CGView& view, int times) {
    for (int i = 0; i < times; ++i) view.update();
}

platform::ui::ImagePtr CGViewTest::render(CGView& view) { return platform::ui::renderToImage(view); }

std::uint32_t rgbAt(const platform::ui::Image& image, double x, double y) {
    return image.pixel(int(std::floor(x)), int(std::floor(y))) >> 8;
}

int alphaAt(const platform::ui::Image& image, double x, double y) {
    return int(image.pixel(int(std::floor(x)), int(std::floor(y))) & 0xFF);
}

int countColour(const platform::ui::Image& image, platform::ui::Rect area, std::uint32_t rgb, int tolerance) {
    int count = 0;
    for (int y = int(area.y()); y < int(area.maxY()); ++y) {
        for (int x = int(area.x()); x < int(area.maxX()); ++x) {
            const std::uint32_t px = image.pixel(x, y);
            bool near = (px & 0xFF) > 200;
            for (int c = 0; c < 3 && near; ++c) {
                const int got = int((px >> (8 + 8 * c)) & 0xFF), want = int((rgb >> (8 * c)) & 0xFF);
                near = std::abs(got - want) <= tolerance;
            }
            count += near;
        }
    }
    return count;
}

}  // namespace cgviewtest
