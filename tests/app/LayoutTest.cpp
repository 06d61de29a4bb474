// Screen arithmetic of the game screen, the footer pictures and the volume dialog.
#include <gtest/gtest.h>

#include "app/FooterPictures.h"
#include "app/OptionViewLayout.h"
#include "app/PageLayout.h"
#include "app/UserAgent.h"

namespace app {
namespace {

struct ScreenCase {
    double w, h;
    LayoutRect page;
    double footerTop;
    bool resizeFooter;
};

class PageLayoutTest : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(PageLayoutTest, PageAreaAndFooterTop) {
    const auto& c = GetParam();
    PageLayout l = computePageLayout(c.w, c.h);
    EXPECT_NEAR(l.page.x, c.page.x, 0.01);
    EXPECT_NEAR(l.page.y, c.page.y, 0.01);
    EXPECT_NEAR(l.page.width, c.page.width, 0.01);
    EXPECT_NEAR(l.page.height, c.page.height, 0.01);
    EXPECT_NEAR(l.footerTop, c.footerTop, 0.01);
    EXPECT_EQ(l.resizeFooter, c.resizeFooter);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, PageLayoutTest,
    ::testing::Values(ScreenCase{320, 568, {0, 44, 320, 427}, 471, true},
                      ScreenCase{320, 480, {0, 0, 320, 427}, 427, false},
                      ScreenCase{768, 1024, {42.67, 0, 682.67, 910.93}, 910.93, false},
                      // Just taller than 480: the half-point offset rounds down to 0.
                      ScreenCase{320, 480.5, {0, 0, 320, 427}, 427, true},
                      // Shorter than 480: width stays, height shrinks.
                      ScreenCase{320, 240, {0, 0, 320, 213.5}, 213.5, false},
                      // Wide but not tall enough to centre: x stays 0.
                      ScreenCase{400, 960, {0, 0, 640, 854}, 854, false}));

TEST(FooterPictureTest, VariantIsSetTypePlusEventFlag) {
    FooterLayouts t = defaultFooterLayouts();
    struct {
        int button, setType;
        bool event;
        int column;
        const char* name;
    } cases[] = {
        {1, 0, true, 0, "footer_gacha2.png"},  {1, 0, true, 1, "footer_gacha2_g.png"},
        {0, 0, true, 0, ""},                   {3, 2, true, 0, "footer_home2.png"},
        {3, 2, false, 1, "footer_home_g.png"}, {4, 0, false, 0, "footer_shop.png"},
        {5, 0, false, 1, "footer_menu_g.png"}, {2, 0, true, 0, "footer_event2.png"},
        {6, 0, false, 0, ""},                  {-1, 0, false, 0, ""},
        {3, 4, false, 0, ""},                  {1, 0, false, 2, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(footerPicture(t, c.button, c.setType, c.event, c.column), c.name) << c.button << "/" << c.setType;
    }
}

TEST(OptionViewLayoutTest, PanelCentredAndCloseButtonTruncated) {
    LayoutRect p = optionPanelFrame(320, 427);
    EXPECT_DOUBLE_EQ(p.x, 46.5);
    EXPECT_DOUBLE_EQ(p.y, 88);
    EXPECT_DOUBLE_EQ(p.width, 227);
    // A 98 × 45 picture: 109 − 24.5 = 84.5 → 84; 251 − 33.75 = 217.25 → 217.
    LayoutRect b = optionCloseButtonFrame(98, 45);
    EXPECT_DOUBLE_EQ(b.x, 84);
    EXPECT_DOUBLE_EQ(b.y, 217);
    EXPECT_DOUBLE_EQ(b.width, 49);
    EXPECT_DOUBLE_EQ(b.height, 22.5);
}

TEST(UserAgentTest, EmptyIdentifiersEndInTwoColons) {
    UserAgentFields f{"Pelora", "1.0.0", "x86_64", "Linux", "6.1", "", ""};
    std::string ua = formatUserAgent(f);
    EXPECT_EQ(ua, "Pelora/1.0.0(x86_64; Linux 6.1)/TARVEL_UA/iPhone/PELORA_ver01::");
    f.encipheredUuid = "A+/=";
    f.encipheredInstallId = "B==";
    EXPECT_EQ(formatUserAgent(f), "Pelora/1.0.0(x86_64; Linux 6.1)/TARVEL_UA/iPhone/PELORA_ver01:A+/=:B==");
}

}  // namespace
}  // namespace app
