#pragma once
// Helpers of the motion tests: the runtime and a set clock for one test,
// writer-made models with the parameters the motions drive, and motions read
// from text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "mesh2d/Mesh2D.h"
#include "mesh2d/Mesh2DModelIPhone.h"
#include "mesh2d/motion/Mesh2DMotion.h"
#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtTime.h"
#include "tools/modelwriter/ModelWriter.h"

namespace mesh2d::motiontest {

// An absolute time like the system clock's (about 1.7e12 ms): a fade computed
// from absolute times in float would be visibly wrong here.
constexpr int64_t kT0 = 1'700'000'000'000;

class MotionTest : public ::testing::Test {
protected:
    void SetUp() override {
        UtDebug::setMemoryDebugFlags(0);
        ::testing::internal::CaptureStdout();
        Mesh2D::init();
        ::testing::internal::GetCapturedStdout();
        at(0);
    }
    void TearDown() override {
        for (Mesh2DMotion* m : owned_) delete m;
        owned_.clear();
        delete model_;
        model_ = nullptr;
        UtTime::clearUserTimeMSec();
        ::testing::internal::CaptureStdout();
        Mesh2D::dispose();
        ::testing::internal::GetCapturedStdout();
    }

    // Sets the clock to kT0 + ms.
    static void at(int64_t ms) { UtTime::setUserTimeMSec(kT0 + ms); }

    // A model declaring the given parameters (owned by the fixture); motions
    // may also drive undeclared names, which the model then creates.
    Mesh2DModelIPhone* loadModel(const std::vector<modelwriter::ParamDef>& params = {}) {
        modelwriter::Model description;
        description.params = params;
        const std::vector<uint8_t> bytes = modelwriter::writeModel(description);
        delete model_;
        model_ = Mesh2DModelIPhone::loadModel(bytes.data(), static_cast<int>(bytes.size()));
        EXPECT_NE(model_, nullptr) << "model refused";
        return model_;
    }

    // A motion read from text, deleted by the fixture.
    Mesh2DMotion* motion(const std::string& text) {
        Mesh2DMotion* m = Mesh2DMotion::loadMotion(text.data(), static_cast<int>(text.size()));
        EXPECT_NE(m, nullptr);
        owned_.push_back(m);
        return m;
    }

    float param(const char* name) { return model_->getParamFloat(name); }

    Mesh2DModelIPhone* model_ = nullptr;
    std::vector<Mesh2DMotion*> owned_;
};

// The fade curve written out independently of the runtime: a half cosine
// over [0, 1] with the runtime's 3.1415.
inline double easing(double x) {
    if (x < 0) return 0;
    if (x > 1) return 1;
    return 0.5 - 0.5 * std::cos(static_cast<double>(static_cast<float>(x) * 3.1415f));
}

}  // namespace mesh2d::motiontest
