#pragma once
// Geometry of the loading screen, kept apart from the drawing so that each
// placement can be checked on its own. All values are points in the view's
// coordinates (y down).
#include "platform/ui/Geometry.h"

namespace install {

// The loading-mark frames and the start button are drawn at half their
// pixel size (they are made for a double-density screen); pictures are
// drawn at their pixel size, scaled down only to fit.
inline constexpr double kMarkImageScale = 0.5;

// Where the download-page picture goes on a view of size `view` when a
// strip of `markHeight` is kept free below it: scaled down (never up) to
// fit, centred across and within the room above the strip. Empty when the
// picture has no area.
platform::ui::Rect pictureRect(platform::ui::Size view, platform::ui::Size picture, double markHeight);

// An item of `item` size placed below `top`: centred across, and centred
// down in the space left below `top` when that space is taller than the
// item (else right at `top`).
platform::ui::Rect belowPicture(platform::ui::Size view, double top, platform::ui::Size item);

// The item centred in the view (the state-3 loading mark).
platform::ui::Rect centred(platform::ui::Size view, platform::ui::Size item);

// Where the percentage text starts: just right of the mark, its baseline
// at the mark's middle.
platform::ui::Point percentageBaseline(const platform::ui::Rect& mark);

}  // namespace install
