#include "install/CGViewLayout.h"

namespace install {

using platform::ui::Point;
using platform::ui::Rect;
using platform::ui::Size;

Rect pictureRect(Size view, Size picture, double markHeight) {
    if (picture.width <= 0 || picture.height <= 0) return {};
    const double room = view.height - markHeight;
    double g = room < picture.height ? room / picture.height : 1.0;
    // A view too short for the mark leaves no room: nothing, not a mirror image.
    if (g < 0) g = 0;
    if (view.width < picture.width * g) g = view.width / picture.width;
    const double w = picture.width * g, h = picture.height * g;
    return {(view.width - w) / 2, (room - h) / 2, w, h};
}

Rect belowPicture(Size view, double top, Size item) {
    double t = top;
    if (view.height - t > item.height) t += (view.height - t - item.height) / 2;
    return {(view.width - item.width) / 2, t, item.width, item.height};
}

Rect centred(Size view, Size item) {
    return {(view.width - item.width) / 2, (view.height - item.height) / 2, item.width, item.height};
}

Point percentageBaseline(const Rect& mark) { return {mark.maxX(), mark.y() + mark.height() / 2}; }

}  // namespace install
