// Buttons, sliders, spinners and alerts, driven through the window's touches.
#include <gtest/gtest.h>

#include "HeadlessFixture.h"
#include "platform/Log.h"
#include "platform/ui/ActivityIndicator.h"
#include "platform/ui/Alert.h"
#include "platform/ui/Button.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Window.h"
#include "platform/ui/Windowing.h"

using namespace platform::ui;

namespace {

ImagePtr solid(int w, int h, std::uint8_t r) {
    return Image::fromPixels(w, h, std::vector<std::uint8_t>(std::size_t(w) * h * 4, r));
}

// Records what reaches the controller at the end of the responder chain.
struct RecordingController : Responder {
    std::vector<std::string> events;
    std::vector<int> beganTags;
    void touchesBegan(const Touches& t) override {
        events.push_back("began");
        if (auto v = t.front().view.lock()) beganTags.push_back(v->tag());
    }
    void touchesMoved(const Touches&) override { events.push_back("moved"); }
    void touchesEnded(const Touches&) override { events.push_back("ended"); }
};

struct TouchTree : ::testing::Test {
    std::shared_ptr<Window> window = std::make_shared<Window>(Rect{0, 0, 320, 480});
    std::shared_ptr<View> root = std::make_shared<View>(Rect{0, 0, 320, 480});
    RecordingController controller;
    TouchTree() {
        window->addSubview(root);
        root->setViewController(&controller);
    }
};

TEST_F(TouchTree, ButtonActsOnlyWhenTheTouchEndsInside) {
    auto button = std::make_shared<Button>(Rect{10, 10, 53, 53});
    int taps = 0;
    button->setAction([&](Button&) { ++taps; });
    root->addSubview(button);

    window->tap({30, 30});
    EXPECT_EQ(taps, 1);

    window->touchDown({30, 30});
    EXPECT_TRUE(button->isHighlighted());
    window->touchMove({200, 200});
    EXPECT_FALSE(button->isHighlighted());
    window->touchUp({200, 200});
    EXPECT_EQ(taps, 1);
    EXPECT_TRUE(controller.events.empty());  // the button kept its touches
}

TEST_F(TouchTree, DisabledButtonPassesTouchesToTheController) {
    auto button = std::make_shared<Button>(Rect{10, 10, 53, 53});
    button->setTag(7);
    int taps = 0;
    button->setAction([&](Button&) { ++taps; });
    button->setEnabled(false);
    root->addSubview(button);
    window->tap({30, 30});
    EXPECT_EQ(taps, 0);
    EXPECT_EQ(controller.events, (std::vector<std::string>{"began", "ended"}));
    EXPECT_EQ(controller.beganTags, std::vector<int>{7});
}

TEST_F(TouchTree, PlainViewsForwardAllPhasesWithTheOriginatingView) {
    auto picture = std::make_shared<View>(Rect{0, 0, 320, 240});
    picture->setTag(100);
    root->addSubview(picture);
    window->touchDown({5, 5});
    window->touchMove({6, 300});  // leaving the view does not change the receiver
    window->touchUp({6, 300});
    EXPECT_EQ(controller.events, (std::vector<std::string>{"began", "moved", "ended"}));
    EXPECT_EQ(controller.beganTags, std::vector<int>{100});
    window->touchUp({1, 1});  // an up without a down goes nowhere
    EXPECT_EQ(controller.events.size(), 3u);
}

TEST(Button, StatesWithoutTheirOwnPictureShowTheNormalOne) {
    Button b;
    auto normal = solid(2, 2, 10), disabled = solid(2, 2, 20);
    b.setImage(normal);
    EXPECT_EQ(b.currentImage(), normal);
    b.setEnabled(false);
    EXPECT_EQ(b.currentImage(), normal);
    b.setImage(disabled, ControlState::Disabled);
    EXPECT_EQ(b.currentImage(), disabled);
    b.setImage(nullptr);  // an empty entry clears the normal picture
    b.setEnabled(true);
    EXPECT_EQ(b.currentImage(), nullptr);
}

struct SliderTouches : TouchTree {
    std::shared_ptr<Slider> slider = std::make_shared<Slider>(Rect{30, 75, 177, 23});
    std::vector<float> reports;
    SliderTouches() {
        slider->setRange(0, 1);
        slider->setThumbImage(solid(16, 16, 255));
        slider->setAction([this](Slider& s) { reports.push_back(s.value()); });
        root->addSubview(slider);
    }
    Point thumbCentre() const { return slider->convertPoint(slider->thumbRect().center(), nullptr); }
};

TEST_F(SliderTouches, NonContinuousSliderReportsOnceOnRelease) {
    slider->setContinuous(false);
    slider->setValue(0.5f);
    Point start = thumbCentre();
    window->touchDown(start);
    window->touchMove({start.x + 20, start.y});
    window->touchMove({start.x + 40, start.y});
    EXPECT_TRUE(reports.empty());
    window->touchUp({start.x + 40, start.y});
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NEAR(reports[0], 0.5f + 40.0f / (177 - 16), 1e-4);
}

TEST_F(SliderTouches, ContinuousSliderReportsEveryMoveAndClampsAtTheEnds) {
    slider->setValue(0.5f);
    Point start = thumbCentre();
    window->touchDown(start);
    window->touchMove({start.x + 10, start.y});
    window->touchMove({start.x + 1000, start.y});
    window->touchUp({start.x + 1000, start.y});
    ASSERT_EQ(reports.size(), 2u);  // the release at the same place changes nothing
    EXPECT_FLOAT_EQ(reports.back(), 1.0f);
}

TEST_F(SliderTouches, ATouchOnTheTrackAwayFromTheThumbDoesNotJump) {
    slider->setContinuous(false);
    slider->setValue(0);
    window->tap(slider->convertPoint({170, 11}, nullptr));
    EXPECT_TRUE(reports.empty());
    EXPECT_FLOAT_EQ(slider->value(), 0);
}

TEST(Slider, EndPicturesNarrowTheTrack) {
    Slider s({0, 0, 177, 23});
    s.setThumbImage(solid(20, 20, 1));
    s.setMinimumValueImage(solid(10, 10, 1));
    s.setMaximumValueImage(solid(12, 12, 1));
    Rect track = s.trackRect();
    EXPECT_DOUBLE_EQ(track.x(), 14);  // picture 10 + gap 4
    EXPECT_DOUBLE_EQ(track.maxX(), 177 - 16);
    s.setValue(1);
    EXPECT_DOUBLE_EQ(s.thumbRect().maxX(), track.maxX());
    s.setValue(0);
    EXPECT_DOUBLE_EQ(s.thumbRect().x(), track.x());
    EXPECT_FLOAT_EQ(s.valueForX(track.x() + 10 + (track.width() - 20) / 2), 0.5f);
}

TEST(Slider, ValueStaysInsideTheRange) {
    Slider s({0, 0, 100, 20});
    s.setRange(1, 0);  // reversed
    EXPECT_FLOAT_EQ(s.minimumValue(), 0);
    s.setValue(7);
    EXPECT_FLOAT_EQ(s.value(), 1);
    s.setValue(-2);
    EXPECT_FLOAT_EQ(s.value(), 0);
}

TEST(ActivityIndicator, HidesWhileStopped) {
    ActivityIndicator a({0, 0, 37, 37}, ActivityIndicatorStyle::WhiteLarge);
    EXPECT_TRUE(a.isHidden());
    a.startAnimating();
    EXPECT_FALSE(a.isHidden());
    EXPECT_TRUE(a.isAnimating());
    a.stopAnimating();
    EXPECT_TRUE(a.isHidden());
    a.setHidesWhenStopped(false);
    EXPECT_FALSE(a.isHidden());
}

struct RecordingDelegate : AlertDelegate {
    std::vector<std::pair<int, int>> clicks;  // tag, button
    void alertClickedButtonAtIndex(Alert& alert, int index) override { clicks.emplace_back(alert.tag(), index); }
};

class Alerts : public uitest::HeadlessFixture {};

TEST_F(Alerts, ShownAlertIsRecordedAndATapReachesTheDelegateOnce) {
    RecordingDelegate delegate;
    auto alert = std::make_shared<Alert>("※通信に失敗しました※", "通信の状態を確認し", &delegate,
                                         std::vector<std::string>{"マイページへ"});
    alert->setTag(2);
    ASSERT_TRUE(alert->show());
    auto& windowing = backend().headlessWindowing();
    ASSERT_EQ(windowing.visibleAlerts().size(), 1u);
    EXPECT_EQ(windowing.visibleAlerts()[0]->title(), "※通信に失敗しました※");
    EXPECT_EQ(windowing.visibleAlerts()[0]->tag(), 2);

    EXPECT_FALSE(alert->tapButton(1));  // no such button
    EXPECT_TRUE(windowing.tapFrontAlert(0));
    EXPECT_EQ(delegate.clicks, (std::vector<std::pair<int, int>>{{2, 0}}));
    EXPECT_TRUE(windowing.visibleAlerts().empty());
    EXPECT_FALSE(alert->tapButton(0));  // gone: a second tap does nothing
    EXPECT_EQ(delegate.clicks.size(), 1u);
    EXPECT_EQ(windowing.alertHistory().size(), 1u);
}

TEST_F(Alerts, AlertWithoutDelegateJustCloses) {
    auto alert = std::make_shared<Alert>("警告", "購入機能が無効に設定されています。", nullptr,
                                         std::vector<std::string>{"OK"});
    alert->show();
    alert->show();  // showing twice keeps one on screen
    EXPECT_EQ(backend().headlessWindowing().visibleAlerts().size(), 1u);
    EXPECT_TRUE(backend().headlessWindowing().tapFrontAlert());
    EXPECT_FALSE(backend().headlessWindowing().tapFrontAlert());
}

TEST_F(Alerts, AnAlertNotSharedIsRefusedNotThrown) {
    platform::LogCapture log;
    Alert stray("t", "m", nullptr, {"OK"});
    EXPECT_FALSE(stray.show());
    EXPECT_TRUE(log.contains("not shown"));
}

}  // namespace
