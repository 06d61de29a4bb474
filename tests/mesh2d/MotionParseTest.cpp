// Motion-file text: numbers, settings, track kinds, fade-setting tracks and
// the frame count and duration derived after the last line.
#include <climits>
#include <string>
#include <vector>

#include "MotionTestSupport.h"
#include "mesh2d/motion/Motion.h"
#include "mesh2d/motion/MotionTextReader.h"

namespace mesh2d::motiontest {
namespace {

struct NumberCase {
    const char* text;
    std::vector<float> values;
};

TEST(MotionTextReaderTest, ReadsEveryNumberAndSkipsTheRest) {
    const NumberCase cases[] = {
        {"0,10,20", {0, 10, 20}},
        {"-1.25\t 3", {-1.25f, 3}},
        {"1.5.3", {1.5f, 3}},            // a second "." ends the number
        {"x7 - --2 3.", {7, -2, 3}},     // "-" alone is no number
        {".5", {5}},                     // digits must come first
        {"12abc0.001", {12, 0.001f}},
        {"", {}},
        {"abc", {}},
    };
    for (const NumberCase& c : cases) {
        std::vector<float> got;
        const std::string text = c.text;
        MotionTextReader::readNumbers(
            text.data(), 0, static_cast<int>(text.size()),
            [](float v, void* sink) { static_cast<std::vector<float>*>(sink)->push_back(v); }, &got);
        ASSERT_EQ(got.size(), c.values.size()) << c.text;
        for (size_t i = 0; i < got.size(); ++i) EXPECT_FLOAT_EQ(got[i], c.values[i]) << c.text << " #" << i;
    }
}

TEST(MotionTextReaderTest, TruncationStaysWithinTheIntRange) {
    const struct {
        float value;
        int expected;
    } cases[] = {
        {250.9f, 250},       {-3.7f, -3},         {0.0f, 0},
        {3.0e9f, INT_MAX},   {-3.0e9f, INT_MIN},  {2147483648.0f, INT_MAX},
        {INFINITY, INT_MAX}, {-INFINITY, INT_MIN}, {NAN, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(MotionTextReader::truncateToInt(c.value), c.expected) << c.value;
}

struct Track {
    std::string name;
    int type;
    std::vector<float> values;
    int fadeIn = Motion::NO_FADE;
    int fadeOut = Motion::NO_FADE;
};

struct ParseCase {
    const char* name;
    std::string text;
    float fps;
    int frameCount;
    int duration;
    int fadeIn;
    int fadeOut;
    std::vector<Track> tracks;
};
void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

constexpr int P = Motion::MOTION_TYPE_PARAM;

std::vector<ParseCase> parseCases() {
    return {
        {"Fps24Accepted", "$fps=24\nPARAM_A=0,1,2\n", 24, 3, 125, 1000, 1000, {{"PARAM_A", P, {0, 1, 2}}}},
        {"Fps200Ignored", "$fps=200\nPARAM_A=0,1,2\n", 30, 3, 100, 1000, 1000, {{"PARAM_A", P, {0, 1, 2}}}},
        {"Fps5Ignored", "$fps=5\nPARAM_A=0,1,2\n", 30, 3, 100, 1000, 1000, {{"PARAM_A", P, {0, 1, 2}}}},
        {"Fps121Ignored", "$fps=121\nPARAM_A=0\n", 30, 1, 33, 1000, 1000, {{"PARAM_A", P, {0}}}},
        {"Fps120Accepted", "$fps=120\nPARAM_A=0\n", 120, 1, 8, 1000, 1000, {{"PARAM_A", P, {0}}}},
        {"FpsFractionAccepted", "$fps=5.5\nPARAM_A=0,0,0\n", 5.5f, 3, 545, 1000, 1000, {{"PARAM_A", P, {0, 0, 0}}}},
        {"FpsWithoutValueIgnored", "$fps=\nPARAM_A=0\n", 30, 1, 33, 1000, 1000, {{"PARAM_A", P, {0}}}},
        {"SettingTakesLastNumber", "$fps=10, 20\nPARAM_A=0\n", 20, 1, 50, 1000, 1000, {{"PARAM_A", P, {0}}}},
        {"SettingWithoutEqualsIgnored", "$fps 24\nPARAM_A=0\n", 30, 1, 33, 1000, 1000, {{"PARAM_A", P, {0}}}},
        {"Fades", "$fadein=500\n$fadeout=250.9\n", 30, 0, 0, 500, 250, {}},
        {"NegativeFadeIgnored", "$fadein=-3\n$fadeout=-1\n", 30, 0, 0, 1000, 1000, {}},
        // No exponents: "1e9" reads as 1 and 9, the last one counting.
        {"HugeFadeClamped", "$fadein=99999999999999999999\n$fadeout=1e9\n", 30, 0, 0, INT_MAX, 9, {}},
        {"CarriageReturnEndsLines", "$fps=24\rPARAM_A=1,2\rPARAM_B=3\r\n", 24, 2, 83, 1000, 1000,
         {{"PARAM_A", P, {1, 2}}, {"PARAM_B", P, {3}}}},
        {"CommentsAndLeadingJunk", "# PARAM_X=1\n  \t12PARAM_A=1 2\t3\n", 30, 3, 100, 1000, 1000,
         {{"PARAM_A", P, {1, 2, 3}}}},
        {"TrackWithoutEqualsIgnored", "PARAM_A 1 2\n_PARAM_B=4\n", 30, 1, 33, 1000, 1000,
         {{"_PARAM_B", P, {4}}}},
        {"TrackWithoutValuesDropped", "PARAM_X=\nPARAM_Y=abc\nPARAM_A=1\n", 30, 1, 33, 1000, 1000,
         {{"PARAM_A", P, {1}}}},
        {"NonAsciiSkipped", "\xE3\x81\x82PARAM_A=1\xE3\x81\x82" "2\n", 30, 2, 66, 1000, 1000,
         {{"PARAM_A", P, {1, 2}}}},
        {"Kinds",
         "VISIBLE:PARTS_A=1,0\nLAYOUT:X=1\nLAYOUT:Y=1\nLAYOUT:ANCHOR_X=1\nLAYOUT:ANCHOR_Y=2\n"
         "LAYOUT:SCALE_X=3\nLAYOUT:SCALE_Y=3\nLAYOUT:FOO=4,4,4,4\n",
         30, 2, 66, 1000, 1000,
         {{"VISIBLE:PARTS_A", Motion::MOTION_TYPE_VISIBLE, {1, 0}},
          {"X", Motion::MOTION_TYPE_LAYOUT_X, {1}},
          {"Y", Motion::MOTION_TYPE_LAYOUT_Y, {1}},
          {"ANCHOR_X", Motion::MOTION_TYPE_LAYOUT_ANCHOR_X, {1}},
          {"ANCHOR_Y", Motion::MOTION_TYPE_LAYOUT_ANCHOR_Y, {2}},
          {"SCALE_X", Motion::MOTION_TYPE_LAYOUT_SCALE_X, {3}},
          {"SCALE_Y", Motion::MOTION_TYPE_LAYOUT_SCALE_Y, {3}}}},
        // Fade-setting tracks count towards the frame count, hand their first
        // value to the track of that name and are gone afterwards.
        {"FadeSettingTracks",
         "PARAM_A=0,1\nPARAM_B=0\nFADEIN:PARAM_A=300\nFADEOUT:PARAM_A=200.7\nFADEOUT:PARAM_B=0\n"
         "FADEIN:PARAM_NONE=5,5,5,5\n",
         30, 4, 133, 1000, 1000,
         {{"PARAM_A", P, {0, 1}, 300, 200}, {"PARAM_B", P, {0}, Motion::NO_FADE, 0}}},
        {"Empty", "", 30, 0, 0, 1000, 1000, {}},
    };
}

class MotionParseTest : public MotionTest, public ::testing::WithParamInterface<ParseCase> {};

TEST_P(MotionParseTest, Reads) {
    const ParseCase& c = GetParam();
    Mesh2DMotion* m = motion(c.text);
    ASSERT_NE(m, nullptr);
    EXPECT_FLOAT_EQ(m->getFPS(), c.fps);
    EXPECT_EQ(m->getFrameCount(), c.frameCount);
    EXPECT_EQ(m->getDurationMSec(), c.duration);
    EXPECT_EQ(m->getLoopDurationMSec(), c.duration);
    EXPECT_EQ(m->getFadeIn(), c.fadeIn);
    EXPECT_EQ(m->getFadeOut(), c.fadeOut);
    ASSERT_EQ(m->getTrackCount(), static_cast<int>(c.tracks.size()));
    for (int i = 0; i < m->getTrackCount(); ++i) {
        const Motion* track = m->getTrack(i);
        const Track& want = c.tracks[static_cast<size_t>(i)];
        EXPECT_STREQ(track->getName().c_str(), want.name.c_str());
        EXPECT_EQ(track->getType(), want.type) << want.name;
        EXPECT_EQ(track->getFadeInMsec(), want.fadeIn) << want.name;
        EXPECT_EQ(track->getFadeOutMsec(), want.fadeOut) << want.name;
        ASSERT_EQ(track->getValueCount(), static_cast<int>(want.values.size())) << want.name;
        for (int k = 0; k < track->getValueCount(); ++k) EXPECT_FLOAT_EQ(track->values()[k], want.values[k]);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, MotionParseTest, ::testing::ValuesIn(parseCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MotionTest, LoopingHidesTheDurationButNotTheLoopDuration) {
    Mesh2DMotion* m = motion("PARAM_A=0,1,2\n");
    m->setLoop(true);
    EXPECT_EQ(m->getDurationMSec(), -1);
    EXPECT_EQ(m->getLoopDurationMSec(), 100);
    m->setLoop(false);
    EXPECT_EQ(m->getDurationMSec(), 100);
}

TEST_F(MotionTest, NoBytesGiveAnEmptyMotion) {
    for (const auto& [buf, size] : {std::pair<const void*, int>{nullptr, 10}, {"PARAM_A=1", -1}, {"PARAM_A=1", 0}}) {
        Mesh2DMotion* m = Mesh2DMotion::loadMotion(buf, size);
        ASSERT_NE(m, nullptr);
        owned_.push_back(m);
        EXPECT_EQ(m->getTrackCount(), 0);
        EXPECT_EQ(m->getDurationMSec(), 0);
    }
}

TEST_F(MotionTest, SerialNumbersRise) {
    Mesh2DMotion* a = motion("");
    Mesh2DMotion* b = motion("");
    EXPECT_LT(a->getSerial(), b->getSerial());
}

TEST_F(MotionTest, TracksAreReleasedWithTheMotion) {
    const int before = LDObject::getInstanceCount();
    const std::string text = "PARAM_A=1,2\nFADEIN:PARAM_A=1\nVISIBLE:P=1\n";
    Mesh2DMotion* m = Mesh2DMotion::loadMotion(text.data(), static_cast<int>(text.size()));
    EXPECT_GT(LDObject::getInstanceCount(), before);
    delete m;
    EXPECT_EQ(LDObject::getInstanceCount(), before);
}

}  // namespace
}  // namespace mesh2d::motiontest
