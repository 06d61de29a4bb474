#pragma once
// The volume dialog's geometry, in points.
#include "app/PageLayout.h"

namespace app {

inline constexpr double kOptionPanelWidth = 227;
inline constexpr double kOptionPanelHeight = 251;
inline constexpr double kOptionSliderWidth = 177;
inline constexpr double kOptionSliderHeight = 23;

// The panel is centred on the web view's size.
LayoutRect optionPanelFrame(double webViewWidth, double webViewHeight);

// The close button's origin inside the panel for a picture drawn at half
// size: (109 − width/4, 251 − height·0.75) of the picture's own size, each
// truncated to a whole number.
LayoutRect optionCloseButtonFrame(double pictureWidth, double pictureHeight);

struct OptionSliderRow {
    int tag;
    const char* key;      // the settings key it shows
    const char* caption;  // the caption picture above it
    double captionY;
    double sliderY;
};
inline constexpr OptionSliderRow kOptionSliders[] = {
    {1003, "BGM_VAL", "bgm_font.png", 65, 75},
    {1004, "SE_VAL", "se_font.png", 115, 125},
    {1005, "VOICE_VAL", "voice_font.png", 165, 175},
};
inline constexpr double kOptionLeft = 30;

}  // namespace app
