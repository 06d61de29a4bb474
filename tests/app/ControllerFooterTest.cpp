// Footer pictures and taps, the curtain, the volume dialog and touch routing,
// checked on the controller's views and on rendered screenshots.
#include <gtest/gtest.h>

#include "app/SettingsKeys.h"
#include "install/CGView.h"
#include "platform/ui/ImageCodec.h"
#include "platform/ui/Window.h"
#include "tests/app/ControllerFixture.h"

namespace app::testing {
namespace {

using platform::ui::Point;
using platform::ui::Rect;

// Same pixels as the bundle picture of that name.
bool shows(const platform::ui::ImagePtr& image, const std::string& name) {
    auto expected = platform::ui::imageNamed(name);
    return image && expected && image->width() == expected->width() && image->height() == expected->height() &&
           image->pixels() == expected->pixels();
}

struct Rgb {
    int r, g, b;
};

Rgb probe(const platform::ui::ImagePtr& shot, double x, double y) {
    std::uint32_t p = shot->pixel(int(x), int(y));
    return {int(p >> 24), int((p >> 16) & 255), int((p >> 8) & 255)};
}

::testing::AssertionResult near(Rgb got, Rgb want, int tolerance = 10) {
    if (std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
        std::abs(got.b - want.b) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "got (" << got.r << "," << got.g << "," << got.b << ") want (" << want.r
                                         << "," << want.g << "," << want.b << ")";
}

class FooterTest : public ControllerFixture {
protected:
    void SetUp() override {
        ControllerFixture::SetUp();
        openGameScreen();
        web()->clearRecords();
    }
    void page(const std::string& action) { ASSERT_FALSE(navigate("webview://" + action)); }
    platform::ui::ImagePtr picture(int button) {
        platform::ui::Button* buttons[] = {controller->outlets()._btnFooterReturn.get(), controller->outlets()._btnFooterGacha.get(),
                                           controller->outlets()._btnFooterEvent.get(), controller->outlets()._btnFooterPelora.get(),
                                           controller->outlets()._btnFooterShop.get(), controller->outlets()._btnFooterMenu.get()};
        return buttons[button]->currentImage();
    }
    Point centreOf(const platform::ui::View& v) { return v.convertToRoot(v.bounds().center()); }
    void tapAt(Point p) { windowing().mainWindow().tap(p); }
};

TEST_F(FooterTest, PicturesFollowEnableEventAndSetType) {
    auto before = picture(1);
    page("javascript_setFooterEventFlg?id=1&flg=true");
    EXPECT_EQ(picture(1), before);  // unchanged until a picture-setting action
    page("javascript_footerEnable?flg=true");
    EXPECT_TRUE(shows(picture(1), "footer_gacha2.png"));
    EXPECT_TRUE(shows(picture(4), "footer_shop.png"));
    page("javascript_footerEnable?flg=false");
    EXPECT_TRUE(shows(picture(1), "footer_gacha2_g.png"));
    EXPECT_TRUE(shows(picture(5), "footer_menu_g.png"));

    // Button 0 has no event variant: it ends up without a picture.
    page("javascript_setFooterEventFlg?id=0&flg=true");
    page("javascript_footerEnable?flg=true");
    EXPECT_EQ(picture(0), nullptr);

    page("javascript_setFooterEventFlg?id=3&flg=true");
    page("javascript_changeFooterImgHomeChar?flg=true");
    EXPECT_TRUE(shows(picture(3), "footer_home2.png"));
    page("javascript_footerEnableFlg?flg=false");
    page("javascript_changeFooterImgHomeChar?flg=false");
    EXPECT_TRUE(shows(picture(3), "footer_kanojo2_g.png"));

    // One button's picture; the enable flag stays as it was.
    page("javascript_footerImgFlg?id=4&flg=true");
    EXPECT_TRUE(shows(picture(4), "footer_shop.png"));
    EXPECT_FALSE(controller->_footerEnable);
}

TEST_F(FooterTest, OutOfRangeButtonIdsAreIgnored) {
    page("javascript_footerEnable?flg=true");
    auto before = picture(5);
    for (const char* action : {"javascript_footerImgFlg?id=6&flg=false", "javascript_footerImgFlg?id=-1&flg=false",
                               "javascript_footerImgFlg?flg=false&id=x9"}) {
        page(action);
    }
    EXPECT_EQ(picture(5), before);
    EXPECT_TRUE(shows(picture(0), "footer_return_g.png"));  // "x9" reads as 0
    logs.clear();
    page("javascript_setFooterEventFlg?id=6&flg=true");
    page("javascript_setFooterEventFlg?id=-3&flg=true");
    EXPECT_TRUE(logs.contains("footer: event flag for button 6 ignored"));
    EXPECT_TRUE(logs.contains("footer: event flag for button -3 ignored"));
    page("javascript_setFooterEventFlg");  // no query at all: unknown action, logged
}

// An "id" that is left out reads like one with no digits: 0, the first button.
TEST_F(FooterTest, ActionsWithoutAnIdAddressButtonZero) {
    struct Case {
        const char* enable;  // sets every picture first
        const char* action;
        const char* picture0;
        bool eventFlag0;
    } cases[] = {
        {"javascript_footerEnable?flg=true", "javascript_footerImgFlg?flg=false", "footer_return_g.png", false},
        {"javascript_footerEnable?flg=false", "javascript_footerImgFlg?flg=true", "footer_return.png", false},
        {"javascript_footerEnable?flg=true", "javascript_footerImgFlg?id=&flg=false", "footer_return_g.png", false},
        {"javascript_footerEnable?flg=true", "javascript_setFooterEventFlg?flg=true", "footer_return.png", true},
        {"javascript_footerEnable?flg=true", "javascript_setFooterEventFlg?x=1", "footer_return.png", false},
    };
    for (const Case& c : cases) {
        controller->_footerEventFlg[0] = false;
        page(c.enable);
        logs.clear();
        page(c.action);
        EXPECT_TRUE(shows(picture(0), c.picture0)) << c.action;
        EXPECT_EQ(controller->_footerEventFlg[0], c.eventFlag0) << c.action;
        EXPECT_FALSE(logs.contains("ignored")) << c.action << ": " << logs.text();
        for (int other = 1; other < 6; ++other) EXPECT_FALSE(controller->_footerEventFlg[other]) << c.action;
    }
}

TEST_F(FooterTest, TapsReportTheButtonNumberWhileEnabled) {
    tapAt(centreOf(*controller->outlets()._btnFooterShop));
    EXPECT_TRUE(scripts().empty());  // footer starts disabled
    page("javascript_footerEnable?flg=true");
    tapAt(centreOf(*controller->outlets()._btnFooterShop));
    tapAt(centreOf(*controller->outlets()._btnFooterPelora));
    tapAt(centreOf(*controller->outlets()._btnFooterReturn));
    EXPECT_EQ(scripts(), (std::vector<std::string>{"footerFunc(4);", "footerFunc(3);", "footerFunc(0);"}));
}

TEST_F(FooterTest, ScreenshotShowsTheChosenFooterPicture) {
    page("javascript_setFooterEventFlg?id=1&flg=true");
    page("javascript_footerEnable?flg=true");
    // Through a real PNG file, as the headless runner writes them.
    std::string file = home.path() + "/footer.png";
    ASSERT_TRUE(windowing().writeScreenshot(file));
    auto shot = platform::ui::decodeImageFile(file);
    ASSERT_NE(shot, nullptr);
    Rect gacha = controller->outlets()._btnFooterGacha->frame();
    Rect shop = controller->outlets()._btnFooterShop->frame();
    // Above the caption the tiles show their fill: event orange, shop gold.
    EXPECT_TRUE(near(probe(shot, gacha.center().x, gacha.y() + gacha.height() * 0.15), {0xFF, 0x8A, 0x00}));
    EXPECT_TRUE(near(probe(shot, shop.center().x, shop.y() + shop.height() * 0.15), {0xD9, 0xB8, 0x4A}));
    page("javascript_footerEnable?flg=false");
    shot = windowing().screenshot();
    EXPECT_TRUE(near(probe(shot, gacha.center().x, gacha.y() + gacha.height() * 0.15), {0x8C, 0x8C, 0x8C}));
}

TEST_F(FooterTest, TakeOverAndBack) {
    controller->goTitleHikitsugi();
    EXPECT_EQ(web()->loadedRequests().back().url, appBase() + "/index.php?new_change_flg=1");
    web()->finishLoad();
    controller->viewNextUrl(appBase() + "/second.php");
    web()->finishLoad();
    ASSERT_TRUE(web()->canGoBack());

    controller->setWebviewUserInteractionEnabled(false);
    page("javascript_webviewBack");
    EXPECT_EQ(web()->loadedRequests().back().url, appBase() + "/second.php");
    controller->setWebviewUserInteractionEnabled(true);
    page("javascript_webviewBack");
    EXPECT_EQ(web()->loadedRequests().back().url, appBase() + "/index.php?new_change_flg=1");
}

TEST_F(FooterTest, FadesAnimateTheCurtainAndAlwaysCallBack) {
    Rect pageArea = controller->outlets()._webView->frame();
    Point spot{pageArea.x() + 5, pageArea.y() + pageArea.height() - 5};
    Rgb clear = probe(windowing().screenshot(), spot.x, spot.y);

    page("javascript_setFadeOut?time=1000");
    run(500);
    EXPECT_NEAR(controller->outlets()._viewFade->presentationAlpha(), 0.5, 0.02);
    Rgb half = probe(windowing().screenshot(), spot.x, spot.y);
    EXPECT_TRUE(near(half, {clear.r / 2, clear.g / 2, clear.b / 2}, 8));
    EXPECT_TRUE(scripts().empty());
    run(510);
    EXPECT_EQ(scripts(), std::vector<std::string>{"callbackEndFadeOut();"});
    EXPECT_TRUE(near(probe(windowing().screenshot(), spot.x, spot.y), {0, 0, 0}, 2));

    // Zero time ends at once, still with its callback; an interrupted fade calls back too.
    web()->clearRecords();
    page("javascript_setFadeIn?time=0");
    run(1);
    EXPECT_EQ(scripts(), std::vector<std::string>{"callbackEndFadeIn();"});
    EXPECT_DOUBLE_EQ(controller->outlets()._viewFade->alpha(), 0.0);
    web()->clearRecords();
    page("javascript_setFadeOut?time=800");
    run(300);
    page("javascript_setFadeIn?time=200");
    run(250);
    EXPECT_EQ(scripts(), (std::vector<std::string>{"callbackEndFadeOut();", "callbackEndFadeIn();"}));
    EXPECT_NEAR(controller->outlets()._viewFade->presentationAlpha(), 0.0, 0.01);
}

class OptionViewTest : public FooterTest {
protected:
    std::vector<platform::ui::View*> tagged(int tag) {
        std::vector<platform::ui::View*> out;
        for (const auto& v : controller->outlets()._viewContents->subviews()) {
            if (v->tag() == tag) out.push_back(v.get());
        }
        return out;
    }
};

TEST_F(OptionViewTest, GeometryAndSliderValues) {
    prefs().setFloat(kKeyBgmVal, 0.25f);
    page("javascript_volChange?castId=3");
    EXPECT_EQ(controller->_optionCastId, 3);
    ASSERT_EQ(tagged(kTagOptionOverlay).size(), 1u);
    ASSERT_EQ(tagged(kTagOptionPanel).size(), 1u);
    platform::ui::View* overlay = tagged(kTagOptionOverlay)[0];
    platform::ui::View* panel = tagged(kTagOptionPanel)[0];
    EXPECT_EQ(overlay->frame(), controller->outlets()._viewContents->frame());
    EXPECT_EQ(overlay->backgroundColor(), (platform::ui::Color{0.3, 0.3, 0.3, 0.5}));
    EXPECT_EQ(panel->frame(), (Rect{46.5, 88, 227, 251}));

    struct {
        int tag;
        double y;
        float value;
    } sliders[] = {{kTagSliderBgm, 75, 0.25f}, {kTagSliderSe, 125, 0.5f}, {kTagSliderVoice, 175, 1.0f}};
    for (const auto& s : sliders) {
        auto* slider = dynamic_cast<platform::ui::Slider*>(panel->viewWithTag(s.tag));
        ASSERT_NE(slider, nullptr) << s.tag;
        EXPECT_EQ(slider->frame(), (Rect{30, s.y, 177, 23}));
        EXPECT_FLOAT_EQ(slider->value(), s.value);
        EXPECT_FALSE(slider->isContinuous());
        ASSERT_NE(slider->thumbImage(), nullptr);
        EXPECT_EQ(slider->thumbImage()->width(), platform::ui::imageNamed("gage_button.png")->width() / 2);
        ASSERT_NE(slider->minimumTrackImage(), nullptr);
        EXPECT_EQ(slider->minimumTrackImage()->capInsets(), (platform::ui::EdgeInsets{0, 5, 0, 5}));
        EXPECT_FALSE(slider->maximumTrackImage()->isStretchable());
    }
    auto* close = panel->viewWithTag(kTagOptionClose);
    ASSERT_NE(close, nullptr);
    auto fin = platform::ui::imageNamed("fin_font.png");
    EXPECT_EQ(close->frame(), (Rect{double(int(109 - fin->width() / 4.0)), double(int(251 - fin->height() * 0.75)),
                                    fin->width() / 2.0, fin->height() / 2.0}));

    // On screen: panel picture inside the panel, dimmed backdrop outside it.
    auto shot = windowing().screenshot();
    EXPECT_TRUE(near(probe(shot, panel->frame().x() + 20, panel->frame().y() + 150), {0xF4, 0xEE, 0xE0}));
    EXPECT_FALSE(near(probe(shot, 5, 5), {0xFD, 0xF6, 0xFA}));
}

TEST_F(OptionViewTest, OverlayAndCloseRemoveItThePanelDoesNot) {
    page("javascript_volChange?castId=1");
    platform::ui::View* panel = tagged(kTagOptionPanel)[0];
    tapAt(panel->convertToRoot({10, 10}));
    EXPECT_EQ(tagged(kTagOptionPanel).size(), 1u);
    // The view the touch began in decides, not the one it ended in.
    auto& window = windowing().mainWindow();
    window.touchDown(panel->convertToRoot({10, 10}));
    window.touchUp({5, 5});
    EXPECT_EQ(tagged(kTagOptionPanel).size(), 1u);
    tapAt(panel->viewWithTag(kTagOptionClose)->convertToRoot({2, 2}));
    EXPECT_TRUE(tagged(kTagOptionPanel).empty());
    EXPECT_TRUE(tagged(kTagOptionOverlay).empty());

    // Twice stacks two copies; one tap on the overlay takes both away.
    page("javascript_volChange?castId=1");
    page("javascript_volChange?castId=1");
    EXPECT_EQ(tagged(kTagOptionOverlay).size(), 2u);
    window.touchDown({5, 5});
    window.touchUp(tagged(kTagOptionPanel)[0]->convertToRoot({10, 10}));
    EXPECT_TRUE(tagged(kTagOptionOverlay).empty());
    EXPECT_TRUE(tagged(kTagOptionPanel).empty());
}

TEST_F(OptionViewTest, SliderReleaseReportsTheChange) {
    page("javascript_volChange?castId=1");
    auto* slider = tagged(kTagOptionPanel)[0]->viewWithTag(kTagSliderSe);
    Point thumb = slider->convertToRoot(dynamic_cast<platform::ui::Slider*>(slider)->thumbRect().center());
    logs.clear();
    auto& window = windowing().mainWindow();
    window.touchDown(thumb);
    window.touchMove({thumb.x + 30, thumb.y});
    EXPECT_FALSE(logs.contains("sliderChanged"));  // not continuous
    window.touchUp({thumb.x + 30, thumb.y});
    EXPECT_TRUE(logs.contains("sliderChanged tag 1004"));
}

class TouchRoutingTest : public ControllerFixture {
protected:
    void SetUp() override {
        ControllerFixture::SetUp();
        launch();
    }
    void tapAt(Point p) { windowing().mainWindow().tap(p); }
};

TEST_F(TouchRoutingTest, TitleTapsJumpToTheTitleThenStartTheDownload) {
    auto screen = std::make_shared<CGView>(controller->outlets()._viewContents->frame());
    screen->setUserInteractionEnabled(false);
    controller->outlets()._viewContents->addSubview(screen);
    controller->setViewDraw(screen);
    controller->outlets()._imageTitle->setImage(platform::ui::imageNamed("caution.png"));
    controller->outlets()._imageTitle->setAlpha(0.4);
    controller->_titleToucheState = 1;
    controller->_titleToucheFlg = true;

    tapAt({160, 300});
    EXPECT_TRUE(shows(controller->outlets()._imageTitle->image(), "title_back.jpg"));
    EXPECT_DOUBLE_EQ(controller->outlets()._imageTitle->alpha(), 1.0);
    EXPECT_EQ(controller->_titleToucheState, 2);
    EXPECT_TRUE(controller->_titleToucheFlg);

    tapAt({160, 300});
    EXPECT_TRUE(controller->outlets()._imageTitle->isHidden());
    EXPECT_FALSE(controller->_titleToucheFlg);
    EXPECT_EQ(screen->drawState(), 3);
    run(490);
    backend->queues().drain();
    EXPECT_EQ(controller->downloadDispatches(), 0);
    run(20);
    backend->queues().drain();
    EXPECT_EQ(controller->downloadDispatches(), 1);
}

TEST_F(TouchRoutingTest, TitleTapIsIgnoredUntilArmed) {
    controller->_titleToucheState = 2;
    controller->_titleToucheFlg = false;
    tapAt({160, 300});
    EXPECT_FALSE(controller->outlets()._imageTitle->isHidden());
}

TEST_F(TouchRoutingTest, StartAreaEndsTheWaitEdgesIncluded) {
    controller->outlets()._imageTitle->setHidden(true);  // the touch lands on the web view
    auto screen = std::make_shared<CGView>(controller->outlets()._viewContents->frame());
    screen->setUserInteractionEnabled(false);
    controller->outlets()._viewContents->addSubview(screen);
    controller->setViewDraw(screen);
    struct {
        Rect area;
        Point tap;
        bool endsWait;
    } cases[] = {{{-1, -1, -1, -1}, {0, 0}, false},
                 {{100, 400, 120, 40}, {150, 420}, true},
                 {{100, 400, 120, 40}, {220, 440}, true},
                 {{100, 400, 120, 40}, {221, 420}, false}};
    for (const auto& c : cases) {
        screen->setTouchNextArea(c.area);
        controller->_dlWaitFlg = true;
        tapAt(c.tap);
        EXPECT_EQ(!controller->_dlWaitFlg, c.endsWait) << c.tap.x << "," << c.tap.y;
    }
    // Touch-began reaches the loading screen: it asks for its next picture.
    EXPECT_EQ(screen->moveFlg(), 1);
}

}  // namespace
}  // namespace app::testing
