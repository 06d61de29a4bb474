// The loading screen, rendered: each draw state's background and content,
// the mark's frame cycle, the percentage creeping to its target, the text
// in its colour beside the mark, the start button and its published area,
// the slide show, and what missing or broken pictures do.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CGViewFixture.h"
#include "install/CGViewLayout.h"
#include "platform/Log.h"

namespace cgviewtest {
namespace {

using platform::ui::Rect;

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kPercentageRgb = 0x00D9FF;  // 0, 0.85, 1.0
// Where things land on a 200 x 300 screen with the test bundle's sizes.
constexpr Rect kPicture{50, 115, 100, 50};
constexpr Rect kDownloadMark{80, 222.5, 40, 20};
constexpr Rect kCentredMark{80, 140, 40, 20};
constexpr Rect kButton{70, 217.5, 60, 30};

Rect rightOf(const Rect& mark) { return {mark.maxX(), mark.y() - 15, 60, 25}; }

TEST_F(CGViewTest, PictureSetFollowsFirstInstallAndThePictureFile) {
    writeBundle();
    struct {
        bool first;
        bool file;
        std::vector<std::string> names;
        std::vector<std::string> types;
    } cases[] = {
        {true, true, {"install01", "install02", "install03", "install04", "install05", "install06", "install07",
                      "install08"}, std::vector<std::string>(8, "jpg")},
        {false, true, {pictureFile()}, {""}},
        {false, false, {"update00"}, {"png"}},
    };
    for (const auto& c : cases) {
        setFirstInstall(c.first);
        std::filesystem::remove(pictureFile());
        if (c.file) {
            ASSERT_TRUE(writePicture(pictureFile(), kPictureW, kPictureH, kFileColour));
        }
        CGView view({0, 0, kViewW, kViewH});
        EXPECT_EQ(view.loadImages(), c.names) << c.first << c.file;
        EXPECT_EQ(view.loadImagesType(), c.types) << c.first << c.file;
        EXPECT_EQ(view.drawState(), 1);
        EXPECT_EQ(view.drawInitState(), 1);
        EXPECT_EQ(view.getTouchNextArea(), Rect(-1, -1, -1, -1));
        EXPECT_EQ(view.downloadParMax(), 100);
    }
}

TEST_F(CGViewTest, EachStateHasItsBackgroundAndContent) {
    writeBundle();
    struct {
        int state;
        int alpha;            // of a corner pixel
        std::uint32_t centre;  // the colour in the middle of the screen
        bool framesLoaded;
        bool buttonLoaded;
    } cases[] = {
        {1, 0, kBlack, false, false},  // the creator's clear white shows through
        {2, 0, kBlack, false, false},
        {3, 255, kLoadingColour[0], true, false},
        {4, 255, kUpdateColour, true, true},
    };
    for (const auto& c : cases) {
        auto view = screenIn(c.state);
        auto image = render(*view);
        ASSERT_TRUE(image);
        EXPECT_EQ(alphaAt(*image, 2, 2), c.alpha) << "state " << c.state;
        if (c.alpha) {
            EXPECT_EQ(rgbAt(*image, 2, 2), kBlack) << "state " << c.state;
        }
        const Rect probe = c.state == 3 ? kCentredMark : kPicture;
        if (c.alpha) {
            EXPECT_EQ(rgbAt(*image, probe.center().x, probe.center().y), c.centre) << "state " << c.state;
        }
        EXPECT_EQ(view->imageLoading(0) != nullptr, c.framesLoaded) << "state " << c.state;
        EXPECT_EQ(view->imageButton() != nullptr, c.buttonLoaded) << "state " << c.state;
    }
}

TEST_F(CGViewTest, NothingIsDrawnUntilATickLoadsTheRequestedState) {
    writeBundle();
    auto view = screenIn(3);
    view->setDrawState(4);
    auto before = render(*view);
    // The state-3 background stays, but neither page is drawn.
    EXPECT_EQ(countColour(*before, kCentredMark, kLoadingColour[0]), 0);
    EXPECT_EQ(countColour(*before, kPicture, kUpdateColour), 0);
    view->update();
    auto after = render(*view);
    EXPECT_GT(countColour(*after, kPicture, kUpdateColour), 4000);
}

TEST_F(CGViewTest, LoadingMarkHoldsEachFrameForItsCount) {
    writeBundle();
    for (int state : {3, 4}) {
        auto view = screenIn(state);
        const Rect mark = state == 3 ? kCentredMark : kDownloadMark;
        const std::uint32_t* colours = state == 3 ? kLoadingColour : kDownloadColour;
        std::vector<int> shown;
        for (int t = 0; t < 14; ++t) {
            auto image = render(*view);
            const std::uint32_t rgb = rgbAt(*image, mark.center().x, mark.center().y);
            int frame = -1;
            for (int f = 0; f < 4; ++f) {
                if (rgb == colours[f]) frame = f;
            }
            shown.push_back(frame);
            view->update();
        }
        // After the first pass the frames hold for 3, 1, 2 and 1 ticks.
        EXPECT_EQ(shown, (std::vector<int>{0, 0, 0, 1, 2, 2, 3, 0, 0, 0, 1, 2, 2, 3})) << "state " << state;
    }
}

TEST_F(CGViewTest, ShownPercentageCreepsOnePointATickTowardTheTarget) {
    writeBundle();
    struct {
        int target;
        int max;
        int start;
        int ticks;
        int expected;
    } cases[] = {
        {100, 100, 0, 24, 24},    // one second of ticks
        {100, 100, 0, 99, 99},
        {100, 100, 0, 130, 100},  // stops at the full gauge
        {30, 100, 0, 50, 30},     // stops at the target
        {100, 50, 0, 80, 50},     // a lower full-gauge value caps it
        {10, 100, 40, 5, 40},     // never goes back down
    };
    for (const auto& c : cases) {
        auto view = screenIn(4);
        view->setDownloadParMax(c.max);
        view->setDownloadParNowNum(c.start);
        view->setDownloadParNum(c.target);
        tick(*view, c.ticks);
        EXPECT_EQ(view->downloadParNowNum(), c.expected) << c.target << "/" << c.max << " after " << c.ticks;
    }
    // Only the download page moves it.
    auto loading = screenIn(3);
    loading->setDownloadParNum(100);
    tick(*loading, 10);
    EXPECT_EQ(loading->downloadParNowNum(), 0);
}

TEST_F(CGViewTest, PercentageTextSitsRightOfTheMarkInItsColour) {
    writeBundle();
    auto view = screenIn(4);
    auto rightmostText = [&](int value) {
        view->setDownloadParNowNum(value);
        auto image = render(*view);
        const Rect area = rightOf(kDownloadMark);
        int right = -1;
        for (int x = int(area.x()); x < int(area.maxX()); ++x) {
            if (countColour(*image, {double(x), area.y(), 1, area.height()}, kPercentageRgb, 40) > 0) right = x;
        }
        // None of the text's colour anywhere else: not on the mark, not below its middle.
        EXPECT_EQ(countColour(*image, {0, 0, kDownloadMark.maxX(), kViewH}, kPercentageRgb, 40), 0) << value;
        EXPECT_EQ(countColour(*image, {0, kDownloadMark.center().y + 6, kViewW, 60}, kPercentageRgb, 40), 0)
            << value;
        EXPECT_GT(countColour(*image, area, kPercentageRgb, 40), 20) << value;
        return right;
    };
    const int one = rightmostText(5), two = rightmostText(55);
    EXPECT_GT(two, one + 6);  // a digit more: the text is the value
    EXPECT_EQ(view->getTouchNextArea(), Rect(-1, -1, -1, -1));
}

TEST_F(CGViewTest, FullGaugeDrawsTheButtonWhereTheStartAreaSays) {
    writeBundle();
    auto view = screenIn(4);
    view->setDownloadParNum(100);
    tick(*view, 99);
    render(*view);
    EXPECT_EQ(view->getTouchNextArea(), Rect(-1, -1, -1, -1)) << "published before the gauge is full";
    view->update();
    ASSERT_EQ(view->downloadParNowNum(), 100);
    auto image = render(*view);
    EXPECT_EQ(view->getTouchNextArea(), kButton);
    EXPECT_EQ(countColour(*image, kButton, kButtonColour), int(kButton.width() * kButton.height()) - 60);
    EXPECT_EQ(rgbAt(*image, kButton.x() - 1, kButton.center().y), kBlack);
    EXPECT_EQ(rgbAt(*image, kButton.maxX() + 1, kButton.center().y), kBlack);
    // The mark and its text are gone.
    EXPECT_EQ(countColour(*image, {0, 0, kViewW, kViewH}, kPercentageRgb, 40), 0);
    EXPECT_EQ(countColour(*image, {0, 0, kViewW, kViewH}, kDownloadColour[0]), 0);
}

TEST_F(CGViewTest, FirstInstallSlideShowSlidesToEachPictureInTurn) {
    writeBundle();
    setFirstInstall(true);
    auto view = std::make_shared<CGView>(Rect{0, 0, kViewW, kViewH});
    view->animeNext();  // the tap on the title reaches the screen too
    view->setDrawState(4);
    view->update();
    auto centre = [&] {
        auto image = render(*view);
        return rgbAt(*image, kPicture.center().x, kPicture.center().y);
    };
    EXPECT_EQ(centre(), installColour(1)) << "the first picture comes first";

    // One tick into a slide the shown picture has moved a fifth of its
    // width to the left, uncovering the next one on the right.
    view->touchesBegan({});
    view->update();
    auto image = render(*view);
    EXPECT_DOUBLE_EQ(view->imageLeft(), kPictureW / 5.0);
    EXPECT_EQ(rgbAt(*image, kPicture.maxX() - 5, kPicture.center().y), installColour(2));
    EXPECT_EQ(rgbAt(*image, kPicture.maxX() - 25, kPicture.center().y), installColour(1));
    EXPECT_EQ(rgbAt(*image, kPicture.x() - 15, kPicture.center().y), installColour(1));
    view->animeNext();  // ignored while sliding
    tick(*view, 5);
    EXPECT_EQ(view->moveFlg(), 0);
    EXPECT_EQ(view->imageFront(), nullptr);
    EXPECT_EQ(centre(), installColour(2));

    for (int n = 3; n <= 9; ++n) {
        view->touchesBegan({});
        tick(*view, 6);
        EXPECT_EQ(centre(), installColour(n > 8 ? 1 : n)) << "after picture " << n - 1;
    }
}

TEST_F(CGViewTest, PreviousPictureSlidesInFromTheLeft) {
    writeBundle();
    setFirstInstall(true);
    auto view = screenIn(4);
    view->animePrev();
    view->update();
    EXPECT_EQ(view->loadImageIndex(), 7);
    EXPECT_DOUBLE_EQ(view->imageLeft(), kPictureW * 4 / 5.0);
    auto image = render(*view);
    // The eighth picture covers the left fifth of the frame, the first the rest.
    EXPECT_EQ(rgbAt(*image, kPicture.x() + 10, kPicture.center().y), installColour(8));
    EXPECT_EQ(rgbAt(*image, kPicture.x() + 40, kPicture.center().y), installColour(1));
    tick(*view, 5);
    EXPECT_EQ(view->moveFlg(), 0);
    image = render(*view);
    EXPECT_EQ(rgbAt(*image, kPicture.center().x, kPicture.center().y), installColour(8));
}

TEST_F(CGViewTest, LaterRunShowsTheFetchedPictureAloneAndTouchesDoNotMoveIt) {
    writeBundle();
    setFirstInstall(false);
    auto view = screenIn(1);  // made before the run fetched the picture
    ASSERT_TRUE(writePicture(pictureFile(), kPictureW, kPictureH, kFileColour));
    view->setDrawState(4);
    view->update();
    EXPECT_EQ(view->loadImages(), std::vector<std::string>{pictureFile()});
    for (int i = 0; i < 3; ++i) {
        view->touchesBegan({});
        tick(*view, 6);
        auto image = render(*view);
        EXPECT_EQ(rgbAt(*image, kPicture.center().x, kPicture.center().y), kFileColour);
    }
}

TEST_F(CGViewTest, LeavingAStateReleasesItsImagesAndResumeReloadsThem) {
    writeBundle();
    auto view = screenIn(4);
    ASSERT_TRUE(view->imageBack() && view->imageButton() && view->imageLoading(3));
    const auto downloadFrame = view->imageLoading(0);

    view->setDrawState(3);
    view->update();
    EXPECT_EQ(view->imageBack(), nullptr);
    EXPECT_EQ(view->imageButton(), nullptr);
    ASSERT_TRUE(view->imageLoading(0));
    EXPECT_NE(view->imageLoading(0), downloadFrame);

    view->setDrawState(2);
    view->update();
    EXPECT_EQ(view->imageLoading(0), nullptr);
    auto image = render(*view);
    EXPECT_EQ(alphaAt(*image, 100, 150), 0);

    view->setDrawState(3);
    view->update();
    const auto loadingFrame = view->imageLoading(0);
    view->resume();
    EXPECT_EQ(view->drawInitState(), 3);
    ASSERT_TRUE(view->imageLoading(0));
    EXPECT_NE(view->imageLoading(0), loadingFrame);
}

TEST_F(CGViewTest, MissingOrBrokenPicturesDrawNothingForThem) {
    writeBundle({"now_loading1.png", "install02.jpg"});
    {
        // The first loading frame is missing: a black screen, then the second frame.
        auto view = screenIn(3);
        auto image = render(*view);
        EXPECT_EQ(countColour(*image, {0, 0, kViewW, kViewH}, kBlack), int(kViewW * kViewH));
        tick(*view, 3);
        image = render(*view);
        EXPECT_EQ(rgbAt(*image, kCentredMark.center().x, kCentredMark.center().y), kLoadingColour[1]);
    }
    {
        // A missing slide leaves a gap but the show goes on.
        setFirstInstall(true);
        auto view = screenIn(4);
        view->animeNext();
        tick(*view, 6);
        EXPECT_EQ(view->imageBack(), nullptr);
        EXPECT_EQ(view->moveFlg(), 0);
        view->animeNext();
        tick(*view, 6);
        auto image = render(*view);
        EXPECT_EQ(rgbAt(*image, kPicture.center().x, kPicture.center().y), installColour(3));
    }
    {
        // A fetched picture that is not a picture: nothing at all on the page.
        setFirstInstall(false);
        std::ofstream(pictureFile()) << "not a picture";
        platform::LogCapture capture;
        auto view = screenIn(4);
        EXPECT_EQ(view->imageBack(), nullptr);
        auto image = render(*view);
        EXPECT_EQ(countColour(*image, {0, 0, kViewW, kViewH}, kBlack), int(kViewW * kViewH));
        EXPECT_TRUE(capture.contains("cannot read the picture file"));
    }
}

TEST(CGViewLayout, PictureFitsAboveTheMarkStrip) {
    struct {
        platform::ui::Size view, picture;
        double mark;
        Rect expected;
    } cases[] = {
        {{200, 300}, {100, 50}, 20, {50, 115, 100, 50}},      // small: drawn as it is, centred in the room
        {{320, 568}, {640, 854}, 30, {0, 55.5, 320, 427}},    // wide: fitted to the width
        {{768, 400}, {640, 854}, 30, {245.3583, 0, 277.2834, 370}},  // tall: fitted to the room
        {{200, 10}, {100, 50}, 20, {100, -5, 0, 0}},                 // no room: nothing
    };
    for (const auto& c : cases) {
        const Rect got = install::pictureRect(c.view, c.picture, c.mark);
        EXPECT_NEAR(got.x(), c.expected.x(), 1e-3) << c.view.width << "x" << c.view.height;
        EXPECT_NEAR(got.y(), c.expected.y(), 1e-3) << c.view.width << "x" << c.view.height;
        EXPECT_NEAR(got.width(), c.expected.width(), 1e-3) << c.view.width << "x" << c.view.height;
        EXPECT_NEAR(got.height(), c.expected.height(), 1e-3) << c.view.width << "x" << c.view.height;
    }
    EXPECT_TRUE(install::pictureRect({200, 300}, {0, 0}, 20).isEmpty());
}

TEST(CGViewLayout, ItemsBelowThePictureCentreInTheSpaceLeft) {
    struct {
        double top;
        platform::ui::Size item;
        Rect expected;
    } cases[] = {
        {165, {40, 20}, {80, 222.5, 40, 20}},
        {165, {60, 30}, {70, 217.5, 60, 30}},
        {290, {40, 20}, {80, 290, 40, 20}},   // too little space: right below the picture
        {280, {40, 20}, {80, 280, 40, 20}},   // exactly the item's height: not moved
    };
    for (const auto& c : cases) {
        EXPECT_EQ(install::belowPicture({200, 300}, c.top, c.item), c.expected) << c.top;
    }
    EXPECT_EQ(install::percentageBaseline({80, 222.5, 40, 20}), (platform::ui::Point{120, 232.5}));
}

}  // namespace
}  // namespace cgviewtest
