#include "app/PageLayout.h"

namespace app {

// The pages are designed for a 320 × 427 area above a 53-point footer on a
// 320 × 480 screen; larger screens scale that area by the height.
PageLayout computePageLayout(double W, double H) {
    PageLayout out;
    if (W <= 320 && H > 480) {
        out.resizeFooter = true;
        out.page.x = 0;
        out.page.width = 320;
        out.page.height = 427;
        out.page.y = (H - 480) < 1 ? 0 : (H - 480) / 2;
    } else {
        double s = H / 480;
        if (s > 1) {
            out.page.width = 320 * s;
            out.page.height = 427 * s;
            out.page.y = 0;
            out.page.x = (W - 320 * s) < 0 ? 0 : (W - 320 * s) / 2;
        } else {
            out.page.width = 320;
            out.page.height = 427 * s;
            out.page.x = 0;
            out.page.y = 0;
        }
    }
    out.footerTop = out.page.y + out.page.height;
    return out;
}

}  // namespace app
