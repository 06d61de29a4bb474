#pragma once
// Helpers of the per-frame pipeline tests: the runtime for one test, models
// made with the model writer, and a draw parameter that records its calls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mesh2d/Mesh2D.h"
#include "mesh2d/Mesh2DModelIPhone.h"
#include "mesh2d/draw/DrawParam.h"
#include "mesh2d/util/UtDebug.h"
#include "tools/modelwriter/ModelWriter.h"

namespace mesh2d::pipeline {

class PipelineTest : public ::testing::Test {
protected:
    void SetUp() override {
        UtDebug::setMemoryDebugFlags(0);
        ::testing::internal::CaptureStdout();
        Mesh2D::init();
        ::testing::internal::GetCapturedStdout();
    }
    void TearDown() override {
        delete model_;
        model_ = nullptr;
        ::testing::internal::CaptureStdout();
        Mesh2D::dispose();
        ::testing::internal::GetCapturedStdout();
    }

    // Loads a writer-made model (owned by the fixture); fails the test when refused.
    Mesh2DModelIPhone* load(const modelwriter::Model& description) {
        const std::vector<uint8_t> bytes = modelwriter::writeModel(description);
        delete model_;
        model_ = Mesh2DModelIPhone::loadModel(bytes.data(), static_cast<int>(bytes.size()));
        EXPECT_NE(model_, nullptr) << "model refused";
        return model_;
    }

    // Point k of drawable `name` after the last update.
    std::pair<float, float> point(const char* name, int k) {
        int count = 0;
        const float* p = model_->getTransformedPoints(model_->getDrawDataIndex(name), &count);
        if (p == nullptr || k >= count) {
            ADD_FAILURE() << "no point " << k << " of " << name;
            return {0, 0};
        }
        return {p[2 * k], p[2 * k + 1]};
    }

    Mesh2DModelIPhone* model_ = nullptr;
};

// One drawTexture call.
struct DrawCall {
    int textureNo;
    int indexCount;
    float opacity;
    int composition;
    bool culling;
    float firstX;
    float firstY;
};

class RecordingDrawParam : public DrawParam {
public:
    void setupDraw() override { ++setups; }
    void drawTexture(int textureNo, int indexCount, int, const unsigned short*, const float* points, const float*,
                     float opacity, int composition) override {
        calls.push_back({textureNo, indexCount, opacity, composition, isCulling(), points ? points[0] : 0.0f,
                         points ? points[1] : 0.0f});
    }
    std::vector<DrawCall> calls;
    int setups = 0;
};

// Mesh helpers: a triangle whose first point carries a marker.
inline modelwriter::Mesh triangle(const std::string& id, const std::string& parent, float x, float y,
                                  int drawOrder = 500) {
    modelwriter::Mesh m;
    m.id = id;
    m.parent = parent;
    m.drawOrder = drawOrder;
    m.indices = {0, 1, 2};
    m.points = {{x, y, x + 1, y, x, y + 1}};
    m.uvs = {0, 0, 1, 0, 0, 1};
    return m;
}

// A pivot table on `param` with the given pivots (one entry per combination).
inline modelwriter::Pivot pivotOn(const std::string& param, std::vector<float> values) {
    return {param, std::move(values), std::nullopt};
}

}  // namespace mesh2d::pipeline
