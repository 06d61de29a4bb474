#pragma once
// Shared pieces of the model-reader tests: a runtime that fails the test on
// its own leak report, and a small model description that uses every class
// of a model file.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "mesh2d/Mesh2D.h"
#include "mesh2d/io/ModelFileLoader.h"
#include "mesh2d/memory/LDObject.h"
#include "mesh2d/model/ModelImpl.h"
#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtMemory.h"
#include "tools/modelwriter/ModelWriter.h"

namespace mesh2d::test {

// Keeps the runtime's memory records for the whole test, so dispose reports
// every chunk that was not freed.
class ReaderRuntimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        UtDebug::setMemoryDebugFlags(UtDebug::MEMORY_DEBUG_MEMORY_INFO_COUNT);
        ::testing::internal::CaptureStdout();
        Mesh2D::init();
        ::testing::internal::GetCapturedStdout();
    }
    void TearDown() override {
        ::testing::internal::CaptureStdout();
        Mesh2D::dispose();
        const std::string report = ::testing::internal::GetCapturedStdout();
        UtDebug::setMemoryDebugFlags(0);
        EXPECT_EQ(report.find("MEMORY LEAKS"), std::string::npos) << report;
        EXPECT_NE(report.find("Successfully cleaned"), std::string::npos) << report;
        EXPECT_EQ(UtMemory::getLivePageCount(), 0);
    }

    struct LoadResult {
        int code;
        ModelImpl* model;
        std::string output;  // what the runtime printed while loading
    };

    static LoadResult load(const std::vector<uint8_t>& bytes) {
        ::testing::internal::CaptureStdout();
        ModelImpl* model = nullptr;
        const int code = ModelFileLoader::load(bytes.data(), static_cast<int>(bytes.size()), &model);
        return LoadResult{code, model, ::testing::internal::GetCapturedStdout()};
    }
};

// Two parameters, two parts: an affine root with two pivot states and a grid
// child in the first part, two meshes (one with option flags) spread over both.
modelwriter::Model sampleModel(int version);

}  // namespace mesh2d::test
