// Playing one motion: the fade curve, frame sampling and blending, the jump
// rule, tracks with their own fades, visibility tracks and the loop restart.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "MotionTestSupport.h"
#include "mesh2d/ModelContext.h"
#include "mesh2d/motion/MotionQueueEnt.h"
#include "mesh2d/motion/MotionQueueManager.h"

namespace mesh2d::motiontest {
namespace {

TEST(FadeCurveTest, HalfCosineWithTheRuntimesPi) {
    const struct {
        float x;
        float expected;
    } cases[] = {
        {-0.1f, 0.0f}, {0.0f, 0.0f}, {1.5f, 1.0f}, {NAN, 0.0f}, {-INFINITY, 0.0f}, {INFINITY, 1.0f},
        // 3.1415 rather than pi: the middle is not exactly one half.
        {0.5f, 0.49997684f},
        {1.0f, 1.0f},
        {0.25f, 0.14643842f},
    };
    for (const auto& c : cases) EXPECT_NEAR(AMotion::getEasing(c.x), c.expected, 2e-7f) << c.x;
}

TEST(FadeCurveTest, FadeOfABigTimeDifferenceIsTakenFromTheDifference) {
    // 50 ms into a 1000 ms fade at an absolute time near 1.7e12 ms.
    EXPECT_NEAR(AMotion::getFade((kT0 + 50) - kT0, 1000), easing(0.05), 1e-7);
}

TEST(MotionWeightTest, WeightStaysWithinZeroAndOne) {
    const struct {
        float set;
        float expected;
    } cases[] = {{0.25f, 0.25f}, {2.0f, 1.0f}, {-1.0f, 0.0f}, {NAN, 0.0f}, {INFINITY, 1.0f}};
    for (const auto& c : cases) {
        Mesh2DMotion m;
        m.setWeight(c.set);
        EXPECT_EQ(m.getWeight(), c.expected) << c.set;
    }
}

// One motion on a queue, updated at the given offsets from kT0; returns the
// parameter after each update.
struct PlayFixture : MotionTest {
    std::vector<float> play(Mesh2DMotion* m, const std::vector<int>& times, const char* name) {
        MotionQueueManager queue;
        at(times.front());
        queue.startMotion(m, false);
        std::vector<float> out;
        for (int t : times) {
            at(t);
            queue.updateParam(model_);
            out.push_back(param(name));
        }
        return out;
    }
};

TEST_F(PlayFixture, MouthExampleWithoutFades) {
    loadModel();  // the mouth parameter is created with the wide default range
    Mesh2DMotion* m = motion("$fadein=0\n$fadeout=0\nPARAM_MOUTH_OPEN_Y=0,10,20\n");
    ASSERT_EQ(m->getFrameCount(), 3);
    ASSERT_EQ(m->getDurationMSec(), 100);
    const std::vector<float> got = play(m, {0, 50, 90}, "PARAM_MOUTH_OPEN_Y");
    EXPECT_FLOAT_EQ(got[0], 0.0f);
    EXPECT_FLOAT_EQ(got[1], 15.0f);   // frame 1.5: 10 + 0.5 × 10
    EXPECT_FLOAT_EQ(got[2], 20.0f);   // frame 2.7: the last value is held
}

TEST_F(PlayFixture, MouthExampleIsWeightedByBothFades) {
    loadModel();
    Mesh2DMotion* m = motion("PARAM_MOUTH_OPEN_Y=0,10,20\n");
    // 50 ms after the start both the fade-in (1000 ms) and the fade-out
    // towards the end at 100 ms stand at 5 %.
    const double w = easing(0.05) * easing(0.05);
    const std::vector<float> got = play(m, {0, 50}, "PARAM_MOUTH_OPEN_Y");
    EXPECT_FLOAT_EQ(got[0], 0.0f);
    EXPECT_NEAR(got[1], 15.0 * w, 1e-6);
}

struct JumpCase {
    const char* name;
    float a, b;
    float expected;
};
void PrintTo(const JumpCase& c, std::ostream* os) { *os << c.name; }

class JumpRuleTest : public PlayFixture, public ::testing::WithParamInterface<JumpCase> {};

TEST_P(JumpRuleTest, OnAZeroToOneRange) {
    const JumpCase& c = GetParam();
    loadModel({{"PARAM_A", 0.0f, 1.0f, 0.0f}});
    char text[128];
    std::snprintf(text, sizeof text, "$fps=10\n$fadein=0\n$fadeout=0\nPARAM_A=%g,%g,%g\n", c.a, c.b, c.b);
    // 50 ms at 10 fps: halfway between frames 0 and 1.
    EXPECT_NEAR(play(motion(text), {0, 50}, "PARAM_A")[1], c.expected, 1e-6f);
}

INSTANTIATE_TEST_SUITE_P(Pairs, JumpRuleTest,
                         ::testing::Values(JumpCase{"UpJumpHeld", 0.0f, 0.9f, 0.0f},
                                           JumpCase{"DownJumpHeld", 0.9f, 0.0f, 0.9f},
                                           JumpCase{"UpBlended", 0.0f, 0.3f, 0.15f},
                                           JumpCase{"DownBlended", 0.3f, 0.0f, 0.15f},
                                           JumpCase{"ExactlyTheRangeBlended", 0.0f, 0.4f, 0.2f}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayFixture, TracksWithTheirOwnFadesIgnoreTheEntryWeight) {
    loadModel();
    // 10 frames at 10 fps: the entry ends at 1000 ms; default fades of 1000 ms.
    // Every track starts at 0, so the first update leaves all at 0, and stands
    // at 5 halfway to its second frame.
    const std::string frames = "0,10,10,10,10,10,10,10,10,10\n";
    Mesh2DMotion* m = motion("$fps=10\nPARAM_PLAIN=" + frames + "PARAM_NOFADEIN=" + frames +
                             "PARAM_OWNFADEIN=" + frames + "PARAM_NOFADEOUT=" + frames +
                             "FADEIN:PARAM_NOFADEIN=0\nFADEIN:PARAM_OWNFADEIN=200\nFADEOUT:PARAM_NOFADEOUT=0\n");
    MotionQueueManager queue;
    queue.startMotion(m, false);
    queue.updateParam(model_);
    at(50);
    queue.updateParam(model_);
    const double fadeIn = easing(0.05), fadeOut = easing(0.95);
    EXPECT_NEAR(param("PARAM_PLAIN"), 5 * fadeIn * fadeOut, 1e-5);
    EXPECT_NEAR(param("PARAM_NOFADEIN"), 5 * fadeOut, 1e-5);
    EXPECT_NEAR(param("PARAM_OWNFADEIN"), 5 * easing(0.25) * fadeOut, 1e-5);
    EXPECT_NEAR(param("PARAM_NOFADEOUT"), 5 * fadeIn, 1e-5);
}

TEST_F(PlayFixture, VisibilityTracksAreWrittenUnweighted) {
    loadModel({{"VISIBLE:PARTS_01", 0.0f, 1.0f, 0.0f}});
    Mesh2DMotion* m = motion("VISIBLE:PARTS_01=1,1,1,1,1,1\nPARAM_B=1,1,1,1,1,1\n");
    const std::vector<float> got = play(m, {0, 10}, "VISIBLE:PARTS_01");
    EXPECT_FLOAT_EQ(got[0], 1.0f);  // weight 0 on the first update, still fully set
    EXPECT_LT(param("PARAM_B"), 0.01f);
}

TEST_F(PlayFixture, VisibilityIsClampedToTheParameterRange) {
    loadModel({{"VISIBLE:PARTS_01", 0.0f, 1.0f, 0.0f}});
    EXPECT_FLOAT_EQ(play(motion("VISIBLE:PARTS_01=7\n"), {0}, "VISIBLE:PARTS_01")[0], 1.0f);
}

TEST_F(PlayFixture, OffsetStartsInsideTheMotion) {
    loadModel();
    Mesh2DMotion* m = motion("$fadein=0\n$fadeout=0\nPARAM_A=0,10,20,30\n");
    m->setOffsetMSec(50);
    EXPECT_FLOAT_EQ(play(m, {0}, "PARAM_A")[0], 15.0f);
}

TEST_F(PlayFixture, LayoutTracksDoNotTouchParameters) {
    loadModel();
    Mesh2DMotion* m = motion("$fadein=0\n$fadeout=0\nLAYOUT:X=5,5\nPARAM_A=1,1\n");
    play(m, {0, 10}, "PARAM_A");
    const int countWithLayout = model_->getModelContext()->getParamCount();
    EXPECT_FLOAT_EQ(param("PARAM_A"), 1.0f);
    EXPECT_EQ(countWithLayout, 1);  // only PARAM_A was created
}

TEST_F(MotionTest, TrackFindsItsParameterAgainAfterTheModelIsReloaded) {
    loadModel({{"PARAM_B", 0.0f, 10.0f, 0.0f}, {"PARAM_A", 0.0f, 10.0f, 0.0f}});
    Mesh2DMotion* m = motion("$fadein=0\n$fadeout=0\nPARAM_A=7,7,7\n");
    MotionQueueEnt first(m, false);
    m->updateParam(model_, &first);
    ASSERT_FLOAT_EQ(param("PARAM_A"), 7.0f);

    // The same model object with other data: the parameters change places.
    modelwriter::Model other;
    other.params = {{"PARAM_A", 0.0f, 10.0f, 0.0f}, {"PARAM_B", 0.0f, 10.0f, 0.0f}};
    const std::vector<uint8_t> bytes = modelwriter::writeModel(other);
    ASSERT_EQ(AMesh2DModel::loadModel_exe(model_, bytes.data(), static_cast<int>(bytes.size())), 0);
    MotionQueueEnt second(m, false);
    m->updateParam(model_, &second);
    EXPECT_FLOAT_EQ(param("PARAM_A"), 7.0f);
    EXPECT_FLOAT_EQ(param("PARAM_B"), 0.0f);
}

// The loop restart, seen on an entry driven directly.
TEST_F(MotionTest, LoopRestartsAtTheEndOfTheFrames) {
    for (bool loopFadeIn : {true, false}) {
        loadModel();
        Mesh2DMotion* m = motion("$fadeout=0\nPARAM_A=0,10,20\n");
        m->setLoop(true);
        m->setLoopFadeIn(loopFadeIn);
        MotionQueueEnt entry(m, false);
        at(0);
        m->updateParam(model_, &entry);
        EXPECT_EQ(entry.getEndTimeMSec(), -1);  // a looping motion has no end of its own
        at(100);                                // frame 3 of 3
        m->updateParam(model_, &entry);
        EXPECT_FALSE(entry.isFinished());
        EXPECT_EQ(entry.getStartTimeMSec(), kT0 + 100);
        EXPECT_EQ(entry.getFadeInStartTimeMSec(), loopFadeIn ? kT0 + 100 : kT0);
        at(150);
        const float before = param("PARAM_A");
        m->updateParam(model_, &entry);
        const double w = loopFadeIn ? easing(0.05) : easing(0.15);
        EXPECT_NEAR(param("PARAM_A"), before + w * (15.0f - before), 1e-4) << loopFadeIn;
    }
}

TEST_F(MotionTest, NonLoopingMotionFinishesAtItsLastFrame) {
    loadModel();
    Mesh2DMotion* m = motion("$fadein=0\n$fadeout=0\nPARAM_A=0,10,20\n");
    MotionQueueEnt entry(m, false);
    at(0);
    m->updateParam(model_, &entry);
    EXPECT_EQ(entry.getEndTimeMSec(), kT0 + 100);
    at(99);
    m->updateParam(model_, &entry);
    EXPECT_FALSE(entry.isFinished());
    at(100);
    m->updateParam(model_, &entry);
    EXPECT_TRUE(entry.isFinished());
    EXPECT_FLOAT_EQ(param("PARAM_A"), 20.0f);
    const float held = param("PARAM_A");
    at(120);
    m->updateParam(model_, &entry);  // a finished entry is left alone
    EXPECT_FLOAT_EQ(param("PARAM_A"), held);
}

TEST_F(MotionTest, UnavailableEntryIsNotPlayed) {
    loadModel();
    Mesh2DMotion* m = motion("$fadein=0\nPARAM_A=3,3\n");
    MotionQueueEnt entry(m, false);
    entry.setAvailable(false);
    m->updateParam(model_, &entry);
    EXPECT_FALSE(entry.isStarted());
    EXPECT_FLOAT_EQ(param("PARAM_A"), 0.0f);
}

}  // namespace
}  // namespace mesh2d::motiontest
