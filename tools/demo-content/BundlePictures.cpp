#include "tools/demo-content/BundlePictures.h"

namespace demo {
namespace {

struct FooterRow {
    const char* stem;
    const char* text;
    unsigned rgb;
};

// Normal and event ("2") pictures of each footer section.
constexpr FooterRow kFooter[] = {
    {"footer_return", "BACK", 0x4A90D9},   {"footer_gacha", "GACHA", 0xE0504A},
    {"footer_gacha2", "GACHA!", 0xFF8A00}, {"footer_event", "EVENT", 0x47B04B},
    {"footer_event2", "EVENT!", 0xFF8A00}, {"footer_kanojo", "GIRL", 0xE05AA0},
    {"footer_kanojo2", "GIRL!", 0xFF8A00}, {"footer_home", "HOME", 0x8A5AE0},
    {"footer_home2", "HOME!", 0xFF8A00},   {"footer_shop", "SHOP", 0xD9B84A},
    {"footer_shop2", "SHOP!", 0xFF8A00},   {"footer_menu", "MENU", 0x5A6A7A},
};

}  // namespace

std::vector<Picture> bundlePictures() {
    std::vector<Picture> out;
    for (const auto& row : kFooter) {
        out.push_back({std::string(row.stem) + ".png", 106, 106, Look::Button, row.text, row.rgb});
        out.push_back({std::string(row.stem) + "_g.png", 106, 106, Look::GreyButton, row.text, row.rgb});
    }
    out.push_back({"footer_back.png", 640, 106, Look::Bar, "", 0x203040});
    out.push_back({"hikitsugi_button.png", 200, 80, Look::Button, "TAKE OVER", 0x4A90D9});
    // Volume dialog.
    out.push_back({"sound_background.png", 454, 502, Look::Panel, "SOUND", 0xF4EEE0});
    out.push_back({"bgm_font.png", 120, 30, Look::Caption, "BGM", 0x303030});
    out.push_back({"se_font.png", 120, 30, Look::Caption, "SE", 0x303030});
    out.push_back({"voice_font.png", 120, 30, Look::Caption, "VOICE", 0x303030});
    out.push_back({"fin_font.png", 98, 45, Look::Button, "CLOSE", 0x4A90D9});
    out.push_back({"gage_button.png", 44, 44, Look::Knob, "", 0xFFFFFF});
    out.push_back({"gage_background.png", 354, 20, Look::Track, "", 0x606060});
    out.push_back({"gage_front.png", 354, 20, Look::TrackFill, "", 0x40C0FF});
    out.push_back({"gage_min.png", 30, 30, Look::Caption, "-", 0x303030});
    out.push_back({"gage_max.png", 30, 30, Look::Caption, "+", 0x303030});
    // Start-up screens.
    out.push_back({"tarvellogo.png", 640, 1136, Look::Screen, "TARVEL", 0xFFFFFF});
    out.push_back({"caution.png", 640, 1136, Look::Screen, "CAUTION", 0xFFF3C0});
    out.push_back({"title_back.jpg", 640, 1136, Look::Screen, "PELORA", 0xF7B7D2});
    out.push_back({"webview_back.png", 640, 1136, Look::Screen, "", 0xFDF6FA});
    // Loading screen.
    for (int i = 1; i <= 4; ++i) {
        out.push_back({"now_loading" + std::to_string(i) + ".png", 240, 60, Look::Caption,
                       "NOW LOADING" + std::string(i - 1, '.'), 0xFFFFFF});
        out.push_back({"app_download" + std::to_string(i) + ".png", 240, 60, Look::Caption,
                       "DOWNLOAD" + std::string(i - 1, '.'), 0xFFFFFF});
    }
    out.push_back({"game_start_button.png", 300, 90, Look::Button, "START", 0xE05AA0});
    for (int i = 1; i <= 8; ++i) {
        out.push_back({"install0" + std::to_string(i) + ".jpg", 640, 854, Look::Screen,
                       "PICTURE " + std::to_string(i), 0x8090A0 + 0x101010u * unsigned(i)});
    }
    out.push_back({"update00.png", 640, 854, Look::Screen, "UPDATE", 0xA0C0E0});
    return out;
}

}  // namespace demo
