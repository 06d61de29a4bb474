// The public loading entry point: Mesh2DModelIPhone::loadModel with the
// runtime's last error, and the writer's JSON descriptions (the fuzzer's seeds)
// loading into models that update.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "mesh2d/Mesh2D.h"
#include "mesh2d/Mesh2DModelIPhone.h"
#include "mesh2d/ModelContext.h"
#include "tests/mesh2d/ReaderTestSupport.h"
#include "tools/modelwriter/ModelJson.h"

namespace mesh2d::test {
namespace {

class LoadModelTest : public ReaderRuntimeTest {
protected:
    Mesh2DModelIPhone* loadQuietly(const std::vector<uint8_t>& bytes) {
        ::testing::internal::CaptureStdout();
        Mesh2DModelIPhone* model = Mesh2DModelIPhone::loadModel(bytes.data(), static_cast<int>(bytes.size()));
        output = ::testing::internal::GetCapturedStdout();
        return model;
    }
    std::string output;
};

TEST_F(LoadModelTest, AGoodFileGivesAModelWithItsContext) {
    Mesh2DModelIPhone* model = loadQuietly(modelwriter::writeModel(sampleModel(10)));
    ASSERT_NE(model, nullptr) << output;
    ASSERT_NE(model->getModelImpl(), nullptr);
    EXPECT_EQ(model->getModelContext()->getDrawDataCount(), 2);
    EXPECT_EQ(model->getModelContext()->getPartsDataCount(), 2);
    model->update();
    delete model;
}

TEST_F(LoadModelTest, FailuresGiveNullAndLeaveTheCodeAsTheLastError) {
    std::vector<uint8_t> tooNew = modelwriter::writeModel(sampleModel(10));
    tooNew[3] = 11;
    EXPECT_EQ(loadQuietly(tooNew), nullptr);
    EXPECT_EQ(Mesh2D::getError(), 2000);

    std::vector<uint8_t> truncated = modelwriter::writeModel(sampleModel(10));
    truncated.resize(truncated.size() / 2);
    EXPECT_EQ(loadQuietly(truncated), nullptr);
    EXPECT_EQ(Mesh2D::getError(), 2001);
    EXPECT_NE(output.find("range error"), std::string::npos) << output;
    EXPECT_NE(output.find("ERROR"), std::string::npos);  // reported inside a UtDebug error banner
}

TEST_F(LoadModelTest, FuzzSeedDescriptionsLoadAndUpdate) {
    const char* root = std::getenv("PELORA_SOURCE_DIR");
    if (root == nullptr) root = PELORA_TEST_SOURCE_DIR;
    const std::filesystem::path dir = std::filesystem::path(root) / "tests/fuzz/model_load/seeds";
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        modelwriter::Model desc;
        std::string error;
        ASSERT_TRUE(modelwriter::modelFromJson(text.str(), desc, error)) << entry.path() << ": " << error;
        Mesh2DModelIPhone* model = loadQuietly(modelwriter::writeModel(desc));
        ASSERT_NE(model, nullptr) << entry.path() << "\n" << output;
        model->setParamFloat("PARAM_ANGLE_X", 12.0f);
        model->update();
        delete model;
        ++seeds;
    }
    EXPECT_GE(seeds, 4);
}

TEST(ModelJsonTest, BadDescriptionsAreReportedNotThrown) {
    const char* cases[] = {
        "not json",
        R"({"parts": [{"id": "P", "deformers": [{"type": "spiral", "id": "D"}]}]})",
        R"({"params": [{"min": 0}]})",
        R"({"version": "ten"})",
        R"({"version": 300})",
    };
    for (const char* text : cases) {
        modelwriter::Model m;
        std::string error;
        EXPECT_FALSE(modelwriter::modelFromJson(text, m, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}

}  // namespace
}  // namespace mesh2d::test
