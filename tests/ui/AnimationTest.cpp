// View animations on the main loop's (virtual) clock.
#include <gtest/gtest.h>

#include <vector>

#include "HeadlessFixture.h"
#include "platform/ui/ViewAnimation.h"

using namespace platform::ui;

namespace {

class Animation : public uitest::HeadlessFixture {
protected:
    std::shared_ptr<View> view = std::make_shared<View>(Rect{0, 0, 100, 100});
    std::vector<bool> completions;
    AnimationCompletion record() {
        return [this](bool finished) { completions.push_back(finished); };
    }
    static AnimationOptions linear(double seconds, double delay = 0) {
        return {seconds, delay, AnimationCurve::Linear};
    }
};

TEST_F(Animation, LinearFadeFollowsTheClockAndCompletesFinished) {
    view->setAlpha(0);
    animateAlpha(*view, 1.0, linear(1.0), record());
    EXPECT_DOUBLE_EQ(view->alpha(), 1.0);  // the model value is the target at once
    EXPECT_DOUBLE_EQ(view->presentationAlpha(), 0.0);

    runFor(250);
    EXPECT_NEAR(view->presentationAlpha(), 0.25, 1e-9);
    runFor(500);
    EXPECT_NEAR(view->presentationAlpha(), 0.75, 1e-9);
    EXPECT_TRUE(completions.empty());
    runFor(300);
    EXPECT_EQ(completions, std::vector<bool>{true});
    EXPECT_DOUBLE_EQ(view->presentationAlpha(), 1.0);
    EXPECT_FALSE(view->hasAnimations());
}

TEST_F(Animation, DelayHoldsTheStartValue) {
    view->setAlpha(1);
    animateAlpha(*view, 0.0, linear(1.0, 0.5), record());
    runFor(400);
    EXPECT_DOUBLE_EQ(view->presentationAlpha(), 1.0);
    runFor(600);  // 1.0 s in: half-way through the fade
    EXPECT_NEAR(view->presentationAlpha(), 0.5, 1e-9);
    runFor(600);
    EXPECT_EQ(completions, std::vector<bool>{true});
}

TEST_F(Animation, ZeroDurationCompletesOnTheLoopNotInsideTheCall) {
    animateAlpha(*view, 0.0, linear(0), record());
    EXPECT_TRUE(completions.empty());
    EXPECT_DOUBLE_EQ(view->presentationAlpha(), 0.0);
    runFor(1);
    EXPECT_EQ(completions, std::vector<bool>{true});
}

TEST_F(Animation, ANewAnimationInterruptsAndStartsFromTheShownValue) {
    view->setAlpha(0);
    animateAlpha(*view, 1.0, linear(1.0), record());
    runFor(500);
    std::vector<bool> second;
    animateAlpha(*view, 0.0, linear(1.0), [&](bool f) { second.push_back(f); });
    EXPECT_NEAR(view->presentationAlpha(), 0.5, 1e-9);
    runFor(1);
    EXPECT_EQ(completions, std::vector<bool>{false});  // the first still completes, unfinished
    runFor(499);
    EXPECT_NEAR(view->presentationAlpha(), 0.25, 1e-9);
    runFor(600);
    EXPECT_EQ(second, std::vector<bool>{true});
    EXPECT_EQ(completions.size(), 1u);  // the interrupted one never completes twice
}

TEST_F(Animation, RemoveAllAnimationsSnapsToTheModelAndReportsUnfinished) {
    view->setAlpha(0);
    animateAlpha(*view, 1.0, linear(1.0), record());
    animateFrame(*view, {50, 50, 10, 10}, linear(2.0), record());
    runFor(300);
    view->removeAllAnimations();
    EXPECT_FALSE(view->hasAnimations());
    EXPECT_DOUBLE_EQ(view->presentationAlpha(), 1.0);
    EXPECT_EQ(view->presentationFrame(), (Rect{50, 50, 10, 10}));
    runFor(5000);
    EXPECT_EQ(completions, (std::vector<bool>{false, false}));
}

TEST_F(Animation, FrameAnimationInterpolatesEveryComponent) {
    animateFrame(*view, {100, 0, 200, 50}, linear(1.0));
    runFor(500);
    EXPECT_EQ(view->presentationFrame(), (Rect{50, 0, 150, 75}));
    EXPECT_EQ(view->frame(), (Rect{100, 0, 200, 50}));
}

TEST_F(Animation, ACompletionMayStartTheNextStepOfASequence) {
    // The title sequence chains fades from completions.
    view->setAlpha(0);
    std::vector<double> startedAt;
    animateAlpha(*view, 1.0, linear(1.0), [&](bool) {
        startedAt.push_back(now());
        animateAlpha(*view, 0.0, linear(1.0), [&](bool finished) {
            startedAt.push_back(now());
            EXPECT_TRUE(finished);
        });
    });
    double t0 = now();
    runFor(2500);
    ASSERT_EQ(startedAt.size(), 2u);
    EXPECT_NEAR(startedAt[0] - t0, 1000, 1);
    EXPECT_NEAR(startedAt[1] - t0, 2000, 2);
}

TEST_F(Animation, AViewDestroyedMidwayStillCompletesItsAnimation) {
    animateAlpha(*view, 0.0, linear(1.0), record());
    view.reset();
    runFor(1500);
    EXPECT_EQ(completions, std::vector<bool>{true});
}

TEST(AnimationWithoutBackend, AppliesAtOnce) {
    auto v = std::make_shared<View>();
    bool done = false;
    animateAlpha(*v, 0.3, {1.0, 0, AnimationCurve::Linear}, [&](bool f) { done = f; });
    EXPECT_TRUE(done);
    EXPECT_DOUBLE_EQ(v->presentationAlpha(), 0.3);
}

}  // namespace
