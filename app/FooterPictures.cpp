#include "app/FooterPictures.h"

namespace app {

FooterLayouts defaultFooterLayouts() {
    FooterLayouts t{};
    t[0][0] = {"footer_return.png", "footer_return_g.png"};
    t[1][0] = {"footer_gacha.png", "footer_gacha_g.png"};
    t[1][1] = {"footer_gacha2.png", "footer_gacha2_g.png"};
    t[2][0] = {"footer_event.png", "footer_event_g.png"};
    t[2][1] = {"footer_event2.png", "footer_event2_g.png"};
    t[3][0] = {"footer_kanojo.png", "footer_kanojo_g.png"};
    t[3][1] = {"footer_kanojo2.png", "footer_kanojo2_g.png"};
    t[3][2] = {"footer_home.png", "footer_home_g.png"};
    t[3][3] = {"footer_home2.png", "footer_home2_g.png"};
    t[4][0] = {"footer_shop.png", "footer_shop_g.png"};
    t[4][1] = {"footer_shop2.png", "footer_shop2_g.png"};
    t[5][0] = {"footer_menu.png", "footer_menu_g.png"};
    return t;
}

std::string footerPicture(const FooterLayouts& layouts, int button, int setType, bool eventFlag, int column) {
    int variant = setType + (eventFlag ? 1 : 0);
    if (button < 0 || button >= kFooterButtonCount || variant < 0 || variant >= kFooterVariantCount ||
        column < 0 || column > 1) {
        return {};
    }
    return layouts[button][variant][column];
}

}  // namespace app
