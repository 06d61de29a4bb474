#pragma once
// The footer's six buttons and the picture each shows.
#include <array>
#include <string>

namespace app {

inline constexpr int kFooterButtonCount = 6;
inline constexpr int kFooterVariantCount = 4;

// Footer numbers as the page knows them.
enum FooterButton { kFooterReturn = 0, kFooterGacha = 1, kFooterEvent = 2, kFooterPelora = 3, kFooterShop = 4, kFooterMenu = 5 };

// [button][variant][0 normal, 1 greyed]; empty names mean no picture.
using FooterLayouts = std::array<std::array<std::array<std::string, 2>, kFooterVariantCount>, kFooterButtonCount>;

FooterLayouts defaultFooterLayouts();

// Variant = set type (0 or 2) + event flag (0 or 1); column 0 enabled,
// 1 greyed. Out-of-range choices give the empty name.
std::string footerPicture(const FooterLayouts& layouts, int button, int setType, bool eventFlag, int column);

}  // namespace app
