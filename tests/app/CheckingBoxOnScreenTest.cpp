// The checking box is on screen, in a rendered frame, while the version
// request is out, and gone once the answer is in.
//
// The server's thread looks at the views while the main thread is blocked
// in the request; the request itself orders the two, which ThreadSanitizer
// cannot see, so this runs in the ASan tree only.
#include "platform/ui/Image.h"
#include "tests/app/SlowDownloadHost.h"

namespace app::testing {
namespace {

struct SeenDuringCheck {
    bool boxShown = false;
    bool boxOnContents = false;
    std::uint32_t pixel = 0;  // 0xRRGGBBAA inside the box, below its spinner
};

class CheckingBoxOnScreen : public ControllerOnSlowHost {
protected:
    void SetUp() override {
        host.onVersion = [this] {
            auto& box = *c->_loadingContainer;
            seen.boxShown = !box.isHidden() && box.alpha() > 0;
            seen.boxOnContents = box.superview() == c->outlets()._viewContents.get() &&
                                 c->outlets()._viewContents->subviews().back().get() == &box;
            const platform::ui::Point probe = box.convertPoint({25, 52}, delegate->window);
            seen.pixel = backend->headlessWindowing().screenshot()->pixel(int(probe.x), int(probe.y));
        };
        ControllerOnSlowHost::SetUp();
    }
    SeenDuringCheck seen;
};

bool nearlyLightGrey(std::uint32_t rgba) {
    for (int shift : {24, 16, 8}) {
        const int channel = int((rgba >> shift) & 0xff);
        if (channel < 168 || channel > 172) return false;
    }
    return (rgba & 0xff) == 0xff;
}

TEST_F(CheckingBoxOnScreen, ShownWhileTheVersionRequestIsOutAndGoneAfter) {
    c->titleInit();
    ASSERT_TRUE(runUntil([&] { return c->viewDraw() != nullptr; })) << logs.text();
    ASSERT_EQ(host.versionRequests, 1);

    EXPECT_TRUE(seen.boxShown);
    EXPECT_TRUE(seen.boxOnContents);
    EXPECT_TRUE(nearlyLightGrey(seen.pixel)) << std::hex << seen.pixel;
    EXPECT_TRUE(c->_loadingContainer->isHidden());
    EXPECT_FALSE(c->_loadingMark->isAnimating());
    EXPECT_FALSE(backend->headlessSystem().networkActivityIndicatorVisible());
}

}  // namespace
}  // namespace app::testing
