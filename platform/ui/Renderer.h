#pragma once
// Draws a view tree with cairo as it stands at the current moment of the
// animation clock: presentation frames and alphas, backgrounds, corner
// radius, clipping, borders and each view's own drawing, back to front.
#include "platform/ui/Canvas.h"
#include "platform/ui/Image.h"
#include "platform/ui/View.h"

namespace platform::ui {

// Draws `root` and its subviews with the root's origin at the canvas origin.
void renderTree(View& root, Canvas& canvas);

// The tree drawn into a new bitmap of the root's size times the scale;
// null when the root has no area.
ImagePtr renderToImage(View& root, double scale = 1.0);

}  // namespace platform::ui
