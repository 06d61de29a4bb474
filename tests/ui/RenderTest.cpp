// The cairo renderer, checked by pixel probes on rendered trees.
#include <gtest/gtest.h>

#include <filesystem>

#include "HeadlessFixture.h"
#include "platform/ui/Alert.h"
#include "platform/ui/Button.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/ImageCodec.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ViewAnimation.h"
#include "platform/ui/Window.h"

using namespace platform::ui;

namespace {

constexpr std::uint32_t kRed = 0xff0000ff, kGreen = 0x00ff00ff, kBlue = 0x0000ffff, kWhite = 0xffffffff,
                        kBlack = 0x000000ff, kClear = 0x00000000;

ImagePtr solid(int w, int h, std::uint32_t rgba) {
    std::vector<std::uint8_t> px(std::size_t(w) * h * 4);
    for (std::size_t i = 0; i < px.size(); i += 4) {
        px[i] = rgba >> 24, px[i + 1] = rgba >> 16, px[i + 2] = rgba >> 8, px[i + 3] = rgba;
    }
    return Image::fromPixels(w, h, std::move(px));
}

ViewPtr box(Rect f, Color c) {
    auto v = std::make_shared<View>(f);
    v->setBackgroundColor(c);
    return v;
}

int channel(std::uint32_t px, int i) { return int((px >> (24 - 8 * i)) & 0xff); }

struct Probe {
    int x, y;
    std::uint32_t expected;
};

void expectProbes(const Image& image, std::initializer_list<Probe> probes, int tolerance = 2) {
    for (const Probe& p : probes) {
        std::uint32_t got = image.pixel(p.x, p.y);
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(channel(got, c), channel(p.expected, c), tolerance)
                << "at (" << p.x << "," << p.y << ") got " << std::hex << got << " want " << p.expected;
        }
    }
}

TEST(Render, BackgroundsStackInZOrderAndHiddenViewsVanish) {
    auto root = box({0, 0, 40, 40}, Color::black());
    root->addSubview(box({0, 0, 20, 20}, {1, 0, 0, 1}));
    root->addSubview(box({10, 10, 20, 20}, {0, 1, 0, 1}));
    auto hidden = box({30, 30, 10, 10}, {0, 0, 1, 1});
    hidden->setHidden(true);
    root->addSubview(hidden);
    ImagePtr img = renderToImage(*root);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->width(), 40);
    expectProbes(*img, {{5, 5, kRed}, {15, 15, kGreen}, {25, 25, kGreen}, {35, 35, kBlack}});
}

TEST(Render, ScaleMultipliesThePixelSize) {
    auto root = box({0, 0, 20, 10}, {0, 0, 1, 1});
    ImagePtr img = renderToImage(*root, 2.0);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->width(), 40);
    EXPECT_EQ(img->height(), 20);
    expectProbes(*img, {{39, 19, kBlue}});
}

TEST(Render, AlphaAppliesToTheViewAndItsSubviewsAsOne) {
    auto root = box({0, 0, 20, 20}, Color::black());
    auto faded = box({0, 0, 20, 20}, Color::white());
    faded->setAlpha(0.5);
    // An opaque child drawn over its parent: as one layer it stays at 50 %,
    // not 75 % as two separately faded rectangles would give.
    faded->addSubview(box({0, 0, 10, 10}, Color::white()));
    root->addSubview(faded);
    ImagePtr img = renderToImage(*root);
    expectProbes(*img, {{5, 5, 0x808080ff}, {15, 15, 0x808080ff}});
}

TEST(Render, CornerRadiusClipsAndBorderSitsInside) {
    auto root = box({0, 0, 40, 40}, Color::black());
    auto card = box({0, 0, 40, 40}, Color::white());
    card->setCornerRadius(8);
    card->setClipsToBounds(true);
    card->setBorderWidth(2);
    card->setBorderColor({1, 0, 0, 1});
    card->addSubview(box({0, 0, 40, 40}, {0, 0, 1, 1}));  // clipped to the rounded shape
    root->addSubview(card);
    ImagePtr img = renderToImage(*root);
    expectProbes(*img, {{0, 0, kBlack}, {20, 20, kBlue}, {20, 0, kRed}, {39, 20, kRed}, {20, 3, kBlue}});
}

TEST(Render, ClippingCutsSubviewsAtTheBounds) {
    auto root = box({0, 0, 40, 40}, Color::black());
    auto clip = box({0, 0, 20, 20}, Color::black());
    clip->setClipsToBounds(true);
    clip->addSubview(box({10, 10, 30, 30}, Color::white()));
    auto open = box({20, 20, 1, 1}, Color::clear());
    root->addSubview(clip);
    ImagePtr img = renderToImage(*root);
    expectProbes(*img, {{15, 15, kWhite}, {25, 25, kBlack}});
}

TEST(Render, ImageViewContentModesPlaceThePicture) {
    ImagePtr wide = solid(40, 20, kRed);
    struct Case {
        ContentMode mode;
        Probe inside, outside;
    } cases[] = {
        {ContentMode::ScaleToFill, {2, 2, kRed}, {38, 38, kRed}},
        {ContentMode::Fit, {20, 20, kRed}, {20, 5, kBlack}},    // letterboxed top and bottom
        {ContentMode::Fill, {1, 1, kRed}, {39, 39, kRed}},      // covers everything
        {ContentMode::Center, {20, 20, kRed}, {20, 5, kBlack}},
    };
    for (const auto& c : cases) {
        auto root = box({0, 0, 40, 40}, Color::black());
        auto iv = std::make_shared<ImageView>(Rect{0, 0, 40, 40}, wide);
        iv->setContentMode(c.mode);
        root->addSubview(iv);
        ImagePtr img = renderToImage(*root);
        expectProbes(*img, {c.inside, c.outside});
    }
    EXPECT_EQ(placeContent({40, 20}, {0, 0, 40, 40}, ContentMode::Fill), (Rect{-20, 0, 80, 40}));
    EXPECT_EQ(placeContent({40, 20}, {0, 0, 40, 40}, ContentMode::Fit), (Rect{0, 10, 40, 20}));
}

TEST(Render, StretchablePictureKeepsItsEndCaps) {
    // 12 px wide: 5 px red cap, 2 px green middle, 5 px blue cap.
    std::vector<std::uint8_t> px(12 * 4 * 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 12; ++x) {
            std::uint32_t c = x < 5 ? kRed : x < 7 ? kGreen : kBlue;
            std::uint8_t* p = &px[(std::size_t(y) * 12 + x) * 4];
            p[0] = c >> 24, p[1] = c >> 16, p[2] = c >> 8, p[3] = c;
        }
    }
    ImagePtr track = Image::fromPixels(12, 4, std::move(px))->withCapInsets({0, 5, 0, 5});
    auto canvas = Canvas::forBitmap({100, 4});
    canvas->drawImage(*track, {0, 0, 100, 4});
    ImagePtr img = canvas->snapshot();
    expectProbes(*img, {{2, 2, kRed}, {50, 2, kGreen}, {93, 2, kGreen}, {97, 2, kBlue}}, 40);
}

TEST(Render, LabelDrawsTextInItsColourWithAShadow) {
    auto root = box({0, 0, 200, 40}, Color::black());
    auto label = std::make_shared<Label>(Rect{0, 0, 200, 40});
    label->setText("チェック中 CHECK");
    label->setFont(Font::boldSystem(20));
    label->setTextColor(Color::white());
    label->setShadowColor({1, 0, 0, 1});
    label->setShadowOffset({1, 1});
    root->addSubview(label);
    ImagePtr img = renderToImage(*root);
    int white = 0, red = 0;
    for (int y = 0; y < img->height(); ++y) {
        for (int x = 0; x < img->width(); ++x) {
            std::uint32_t p = img->pixel(x, y);
            if (p == kWhite) ++white;
            if (channel(p, 0) > 200 && channel(p, 1) < 60) ++red;
        }
    }
    EXPECT_GT(white, 50);
    EXPECT_GT(red, 10);
}

TEST(Render, LabelLineLimitCutsTheText) {
    // Rows with ink: one line of 10-point text is far shorter than two.
    auto inkRows = [](int lines) {
        auto root = box({0, 0, 150, 60}, Color::black());
        auto label = std::make_shared<Label>(Rect{0, 0, 150, 60});
        label->setText("チェック中\nしばらくお待ちください");
        label->setFont(Font::boldSystem(10));
        label->setTextColor(Color::white());
        label->setNumberOfLines(lines);
        root->addSubview(label);
        ImagePtr img = renderToImage(*root);
        int rows = 0;
        for (int y = 0; y < img->height(); ++y) {
            bool ink = false;
            for (int x = 0; x < img->width() && !ink; ++x) ink = channel(img->pixel(x, y), 0) > 128;
            rows += ink;
        }
        return rows;
    };
    int one = inkRows(1), two = inkRows(2);
    EXPECT_GT(one, 5);
    EXPECT_GT(two, one + 5);
}

TEST(Render, JapaneseGlyphsComeFromARealFont) {
    // Missing glyphs render as hex boxes of similar width for any text; two
    // different kana must differ in ink if a CJK face is installed.
    auto ink = [](const std::string& text) {
        auto canvas = Canvas::forBitmap({60, 40});
        canvas->setFillColor(Color::black());
        canvas->drawText(text, Font::system(30), {2, 32});
        ImagePtr img = canvas->snapshot();
        std::vector<std::uint8_t> mask;
        for (int y = 0; y < img->height(); ++y)
            for (int x = 0; x < img->width(); ++x) mask.push_back(channel(img->pixel(x, y), 3) > 128);
        return mask;
    };
    auto a = ink("あ"), b = ink("い");
    int ones = 0, differ = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        ones += a[i];
        differ += a[i] != b[i];
    }
    EXPECT_GT(ones, 40);
    EXPECT_GT(differ, 40);
}

TEST(Render, ArialBoldResolvesToAMetricCompatibleFace) {
    auto canvas = Canvas::forBitmap({10, 10});
    // Arial's advance widths (per 1000 units): digits 556, "%" 889 in both
    // weights; "i" 222 regular, 278 bold. A metric-compatible face keeps them.
    struct Case {
        const char* font;
        const char* text;
        double width;
    } cases[] = {
        {"Arial Bold", "100%", 20 * (3 * 0.556 + 0.889)},
        {"Arial Bold", "iiii", 20 * 4 * 0.278},
        {"Arial", "iiii", 20 * 4 * 0.222},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(canvas->measureText(c.text, Font::named(c.font, 20)).width, c.width, 0.6) << c.font << " " << c.text;
    }
}

TEST(Render, ButtonShowsItsCurrentPicture) {
    auto root = box({0, 0, 53, 53}, Color::black());
    auto b = std::make_shared<Button>(Rect{0, 0, 53, 53});
    b->setImage(solid(53, 53, kGreen));
    b->setImage(solid(53, 53, kRed), ControlState::Disabled);
    root->addSubview(b);
    expectProbes(*renderToImage(*root), {{26, 26, kGreen}});
    b->setEnabled(false);
    expectProbes(*renderToImage(*root), {{26, 26, kRed}});
}

TEST(Render, CustomDrawingRunsInTheViewsCoordinates) {
    struct Cross : View {
        using View::View;
        int draws = 0;
        void drawRect(Canvas& c) override {
            ++draws;
            c.setFillColor({0, 0, 1, 1});
            c.fillRect({0, 4, 10, 2});
        }
    };
    auto root = box({0, 0, 30, 30}, Color::black());
    auto cross = std::make_shared<Cross>(Rect{10, 10, 10, 10});
    root->addSubview(cross);
    EXPECT_TRUE(cross->needsDisplay());
    ImagePtr img = renderToImage(*root);
    expectProbes(*img, {{15, 15, kBlue}, {5, 15, kBlack}, {15, 11, kBlack}});
    EXPECT_FALSE(cross->needsDisplay());
    cross->setNeedsDisplay();
    EXPECT_TRUE(cross->needsDisplay());
}

class Screenshot : public uitest::HeadlessFixture {};

TEST_F(Screenshot, PngOfAMomentMidFadeRoundTrips) {
    auto& windowing = backend().headlessWindowing();
    windowing.setScreenBounds({32, 32});
    auto curtain = box({0, 0, 32, 32}, Color::white());
    curtain->setAlpha(0);
    windowing.mainWindow().addSubview(curtain);
    animateAlpha(*curtain, 1.0, {1.0, 0, AnimationCurve::Linear});
    runFor(500);
    std::string path = home_.path() + "/mid-fade.png";
    ASSERT_TRUE(windowing.writeScreenshot(path));
    ImagePtr back = decodeImageFile(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width(), 32);
    expectProbes(*back, {{16, 16, 0x808080ff}});  // half-way between the black window and white
    runFor(600);
    expectProbes(*windowing.screenshot(), {{16, 16, kWhite}});
}

TEST_F(Screenshot, VisibleAlertsDimTheScreenUntilTapped) {
    auto& windowing = backend().headlessWindowing();
    windowing.mainWindow().setBackgroundColor(Color::white());
    auto alert = std::make_shared<Alert>("※アップデート※", "最新版が公開されています", nullptr,
                                         std::vector<std::string>{"更新"});
    alert->show();
    ImagePtr shot = windowing.screenshot();
    EXPECT_LT(channel(shot->pixel(5, 5), 0), 200);     // dimmed corner
    EXPECT_GT(channel(shot->pixel(160, 284), 0), 230);  // the alert box itself is light
    windowing.tapFrontAlert();
    expectProbes(*windowing.screenshot(), {{5, 5, kWhite}});
}

TEST_F(Screenshot, ScreenSizeDrivesTheMainWindow) {
    auto& windowing = backend().headlessWindowing();
    EXPECT_EQ(windowing.mainScreenBounds(), (Rect{0, 0, 320, 568}));
    windowing.setScreenBounds({768, 1024});
    EXPECT_EQ(windowing.mainWindow().frame(), (Rect{0, 0, 768, 1024}));
}

}  // namespace
