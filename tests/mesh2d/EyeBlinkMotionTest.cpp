// The eye blinker's schedule and the values it writes at chosen instants.
#include <climits>
#include <vector>

#include "MotionTestSupport.h"
#include "mesh2d/motion/EyeBlinkMotion.h"

namespace mesh2d::motiontest {
namespace {

int gRandom = 0;
int injectedRandom() { return gRandom; }

class EyeBlinkTest : public MotionTest {
protected:
    void SetUp() override {
        MotionTest::SetUp();
        loadModel({{"PARAM_EYE_L_OPEN", 0.0f, 1.0f, 1.0f}, {"PARAM_EYE_R_OPEN", 0.0f, 1.0f, 1.0f}});
        blink_ = new EyeBlinkMotion();
        blink_->setRandomSource(injectedRandom);
    }
    void TearDown() override {
        delete blink_;
        MotionTest::TearDown();
    }
    EyeBlinkMotion* blink_ = nullptr;
};

TEST_F(EyeBlinkTest, FirstCallSchedulesTheNextBlinkWithinTwiceTheInterval) {
    const struct {
        int random;
        int64_t expectedDelay;
    } cases[] = {{0, 0}, {INT_MAX, 7999}, {INT_MAX / 2, 3999}, {INT_MAX / 4, 1999}};
    for (const auto& c : cases) {
        EyeBlinkMotion blink;
        gRandom = c.random;
        blink.setRandomSource(injectedRandom);
        blink.setParam(model_);
        EXPECT_EQ(blink.getState(), EyeBlinkMotion::STATE_INTERVAL);
        EXPECT_EQ(blink.getNextBlinkTime(), kT0 + c.expectedDelay) << c.random;
        EXPECT_FLOAT_EQ(param("PARAM_EYE_L_OPEN"), 1.0f);
    }
}

TEST_F(EyeBlinkTest, DefaultRandomSourceStaysWithinTheWindow) {
    EyeBlinkMotion blink;
    for (int i = 0; i < 50; ++i) {
        const int64_t next = blink.calcNextBlink();
        EXPECT_GE(next, kT0);
        EXPECT_LE(next, kT0 + 7999);
    }
}

struct Step {
    int at;
    float value;
    int state;
};

TEST_F(EyeBlinkTest, ClosesStaysClosedAndOpens) {
    gRandom = 0;  // the next blink is due at once
    const Step steps[] = {
        {0, 1.0f, EyeBlinkMotion::STATE_INTERVAL},    // first call: schedule, open
        {0, 1.0f, EyeBlinkMotion::STATE_INTERVAL},    // not yet past the blink time
        {1, 1.0f, EyeBlinkMotion::STATE_CLOSING},     // closing starts at 1
        {51, 0.5f, EyeBlinkMotion::STATE_CLOSING},    // 50 of 100 ms
        {101, 0.0f, EyeBlinkMotion::STATE_CLOSED},    // closed at 101
        {126, 0.0f, EyeBlinkMotion::STATE_CLOSED},
        {151, 0.0f, EyeBlinkMotion::STATE_OPENING},   // 50 ms closed: opening starts
        {226, 0.5f, EyeBlinkMotion::STATE_OPENING},   // 75 of 150 ms
        {301, 1.0f, EyeBlinkMotion::STATE_INTERVAL},  // open again, new wait
    };
    for (const Step& s : steps) {
        at(s.at);
        blink_->setParam(model_);
        EXPECT_EQ(blink_->getState(), s.state) << s.at;
        EXPECT_FLOAT_EQ(param("PARAM_EYE_L_OPEN"), s.value) << s.at;
        EXPECT_FLOAT_EQ(param("PARAM_EYE_R_OPEN"), s.value) << s.at;
    }
    EXPECT_EQ(blink_->getNextBlinkTime(), kT0 + 301);
}

TEST_F(EyeBlinkTest, ClearedCloseIfZeroNegatesTheValue) {
    gRandom = 0;
    blink_->setCloseIfZero(false);
    blink_->setEyeParams("PARAM_EYE_WIDE_L", "PARAM_EYE_WIDE_R");  // wide default range
    for (int t : {0, 1, 51}) {
        at(t);
        blink_->setParam(model_);
    }
    EXPECT_FLOAT_EQ(param("PARAM_EYE_WIDE_L"), -0.5f);
    EXPECT_FLOAT_EQ(param("PARAM_EYE_WIDE_R"), -0.5f);
}

TEST_F(EyeBlinkTest, PhasesOfNoLengthPassAtOnce) {
    gRandom = 0;
    blink_->setEyeMotion(0, 0, 0);
    const Step steps[] = {
        {0, 1.0f, EyeBlinkMotion::STATE_INTERVAL}, {1, 1.0f, EyeBlinkMotion::STATE_CLOSING},
        {1, 0.0f, EyeBlinkMotion::STATE_CLOSED},   {1, 0.0f, EyeBlinkMotion::STATE_OPENING},
        {1, 1.0f, EyeBlinkMotion::STATE_INTERVAL},
    };
    for (const Step& s : steps) {
        at(s.at);
        blink_->setParam(model_);
        EXPECT_EQ(blink_->getState(), s.state);
        EXPECT_FLOAT_EQ(param("PARAM_EYE_L_OPEN"), s.value);
    }
}

}  // namespace
}  // namespace mesh2d::motiontest
