// A frame of a motion for render-model: the motion stepped on a set clock,
// and the rendered picture showing the motion's pose.
#include <string>
#include <vector>

#include "MotionTestSupport.h"
#include "tools/render-model/ModelRenderer.h"
#include "tools/render-model/MotionFrame.h"

namespace mesh2d::motiontest {
namespace {

std::vector<uint8_t> bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST_F(MotionTest, MotionFrameStandsAtTheChosenTime) {
    const struct {
        const char* text;
        int64_t at;
        double expected;
    } cases[] = {
        {"$fadein=0\n$fadeout=0\nPARAM_A=0,10,20\n", 50, 15.0},
        {"$fadein=0\n$fadeout=0\nPARAM_A=4,10,20\n", 0, 4.0},
        {"PARAM_A=0,10,20\n", 50, 15.0 * easing(0.05) * easing(0.05)},
        {"$fadein=0\n$fadeout=0\nPARAM_A=0,10,20\n", 5000, 20.0},  // finished: the last frame stays
    };
    for (const auto& c : cases) {
        loadModel();
        ASSERT_TRUE(rendermodel::applyMotionFrame(model_, bytes(c.text), c.at));
        EXPECT_NEAR(param("PARAM_A"), c.expected, 1e-5) << c.text << " at " << c.at;
    }
}

TEST_F(MotionTest, MotionFrameLeavesTheClockAsItWas) {
    loadModel();
    at(123);
    rendermodel::applyMotionFrame(model_, bytes("PARAM_A=1\n"), 50);
    EXPECT_EQ(UtTime::getTimeMSec(), kT0 + 123);
    UtTime::clearUserTimeMSec();
    rendermodel::applyMotionFrame(model_, bytes("PARAM_A=1\n"), 50);
    EXPECT_FALSE(UtTime::hasUserTimeMSec());
}

// A red quad on the left half at PARAM_X = 0 and on the right half at 1.
std::vector<uint8_t> slidingQuadModel() {
    modelwriter::Model m;
    m.params = {{"PARAM_X", 0.0f, 1.0f, 0.0f}};
    modelwriter::Mesh quad;
    quad.id = "D_QUAD";
    quad.pivots = {{"PARAM_X", {0, 1}, std::nullopt}};
    quad.indices = {0, 1, 2, 1, 3, 2};
    quad.points = {{0, 0, 320, 0, 0, 640, 320, 640}, {320, 0, 640, 0, 320, 640, 640, 640}};
    quad.uvs = {0, 0, 1, 0, 0, 1, 1, 1};
    modelwriter::Part part;
    part.id = "PARTS_01";
    part.meshes = {quad};
    m.parts = {part};
    return modelwriter::writeModel(m);
}

TEST(MotionRenderTest, RenderedFrameShowsThePoseAtTheChosenTime) {
    rendermodel::RenderJob job;
    job.modelBytes = slidingQuadModel();
    job.textures.emplace_back(0, rendermodel::Image{1, 1, {255, 0, 0, 255}});
    job.width = 64;
    job.height = 64;
    job.background = 0xFFFFFF;
    job.hasMotion = true;
    job.motionBytes = bytes("$fadein=0\n$fadeout=0\nPARAM_X=0,1,1,1\n");
    for (const auto& [atMSec, redSide] : {std::pair<int64_t, int>{0, 16}, {50, 48}}) {
        job.motionAtMSec = atMSec;
        rendermodel::Image frame;
        std::string error;
        ::testing::internal::CaptureStdout();
        const bool ok = rendermodel::renderModel(job, frame, error);
        ::testing::internal::GetCapturedStdout();
        ASSERT_TRUE(ok) << error;
        for (int x : {16, 48}) {
            const uint8_t* px = &frame.rgba[static_cast<size_t>((32 * 64 + x) * 4)];
            const bool red = px[0] > 200 && px[1] < 60 && px[2] < 60;
            EXPECT_EQ(red, x == redSide) << "at " << atMSec << " x " << x;
        }
    }
}

}  // namespace
}  // namespace mesh2d::motiontest
