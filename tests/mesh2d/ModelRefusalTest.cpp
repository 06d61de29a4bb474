// Files the loader must refuse as a whole: inconsistent counts, hostile
// sizes, wrong classes, shared objects, truncations and corruptions. Every
// refusal is code 2001 with a null model, a message through UtDebug, and no
// chunk left behind (the fixture fails on the runtime's leak report).
#include <cmath>
#include <functional>
#include <limits>

#include "mesh2d/draw/IDrawData.h"
#include "mesh2d/id/DrawDataID.h"
#include "mesh2d/id/PartsDataID.h"
#include "mesh2d/io/FileFormat2.h"
#include "tests/mesh2d/ReaderTestSupport.h"
#include "tools/modelwriter/Encoder.h"

namespace mesh2d::test {
namespace {

using modelwriter::Model;
using F = FileFormat2;

class ModelRefusalTest : public ReaderRuntimeTest {};

modelwriter::AffineDeformer& rootOf(Model& m) { return std::get<modelwriter::AffineDeformer>(m.parts[0].deformers[0]); }
modelwriter::GridDeformer& gridOf(Model& m) { return std::get<modelwriter::GridDeformer>(m.parts[0].deformers[1]); }
modelwriter::Mesh& faceOf(Model& m) { return m.parts[0].meshes[0]; }

struct RefusalCase {
    const char* name;
    std::function<void(Model&)> corrupt;
    const char* message;
};

TEST_F(ModelRefusalTest, InconsistentModelsAreRefused) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const RefusalCase cases[] = {
        {"pivot count above its values", [](Model& m) { rootOf(m).pivots[0].countOverride = 3; }, "claims 3 pivots"},
        {"pivot count below its values", [](Model& m) { rootOf(m).pivots[0].countOverride = 1; }, "claims 1 pivots"},
        {"pivot table without pivots",
         [](Model& m) { faceOf(m).pivots[0].values.clear(); }, "has 0 pivots"},
        {"affine states fewer than combinations", [](Model& m) { rootOf(m).states.pop_back(); }, "affine states"},
        {"deformer opacities of another length",
         [](Model& m) { rootOf(m).opacities = std::vector<float>{1, 1, 1}; }, "opacities"},
        {"grid without rows", [](Model& m) { gridOf(m).rows = 0; }, "a grid of"},
        {"grid with negative columns", [](Model& m) { gridOf(m).columns = -4; }, "a grid of"},
        {"grid of 0x7FFFFFFF x 0x7FFFFFFF cells",
         [](Model& m) { gridOf(m).rows = gridOf(m).columns = 0x7FFFFFFF; }, "a grid of 2147483647 x 2147483647"},
        {"grid of 0x7FFFFFFF rows", [](Model& m) { gridOf(m).rows = 0x7FFFFFFF; }, "a grid of 3 x 2147483647"},
        {"grid of 32767 x 32767 cells (2^31 coordinates)",
         [](Model& m) { gridOf(m).rows = gridOf(m).columns = 32767; }, "a grid of 32767 x 32767"},
        {"grid points of another length", [](Model& m) { gridOf(m).points[0].pop_back(); }, "grid 0 does not hold"},
        {"grid sets fewer than combinations",
         [](Model& m) { gridOf(m).pivots = {{"PARAM_BREATH", {0, 1}, std::nullopt}}; }, "grids for"},
        {"triangle index at the point count", [](Model& m) { faceOf(m).indices[4] = 4; }, "triangle index 4"},
        {"index count not three per triangle", [](Model& m) { faceOf(m).triangleCount = 3; }, "index array"},
        {"indices for a partial triangle", [](Model& m) { faceOf(m).indices.pop_back(); }, "index array"},
        {"negative point count", [](Model& m) { faceOf(m).pointCount = -1; }, "-1 points"},
        {"point count 0x7FFFFFFF", [](Model& m) { faceOf(m).pointCount = 0x7FFFFFFF; }, "point set 0"},
        {"triangle count 0x7FFFFFFF", [](Model& m) { faceOf(m).triangleCount = 0x7FFFFFFF; }, "index array"},
        {"point set of another length", [](Model& m) { faceOf(m).points[1].resize(6); }, "point set 1"},
        {"point sets fewer than combinations", [](Model& m) { faceOf(m).points.pop_back(); }, "point sets"},
        {"texture coordinates of another length", [](Model& m) { faceOf(m).pointCount = 4; faceOf(m).uvs.resize(10); },
         "texture coordinates"},
        {"draw orders fewer than combinations",
         [](Model& m) { faceOf(m).drawOrders = std::vector<int32_t>{500}; }, "draw orders"},
        {"mesh opacities of another length",
         [](Model& m) { faceOf(m).opacities = std::vector<float>{}; }, "opacities"},
        {"draw order beyond the bound",
         [](Model& m) { faceOf(m).drawOrders = std::vector<int32_t>{500, 20000, 500}; }, "draw order 20000"},
        {"draw order below the bound",
         [](Model& m) { faceOf(m).drawOrders = std::vector<int32_t>{-10001, 500, 500}; }, "draw order -10001"},
        {"NaN in a point set", [nan](Model& m) { faceOf(m).points[0][3] = nan; }, "not finite"},
        {"infinite parameter bound",
         [](Model& m) { m.params[0].max = std::numeric_limits<float>::infinity(); }, "not finite"},
        {"NaN pivot", [nan](Model& m) { rootOf(m).pivots[0].values[0] = nan; }, "not finite"},
        {"too many pivot combinations",
         [](Model& m) {
             std::vector<float> many(41);
             for (int i = 0; i < 41; ++i) many[i] = static_cast<float>(i);
             faceOf(m).pivots = {{"P1", many, std::nullopt}, {"P2", many, std::nullopt}, {"P3", many, std::nullopt}};
         },
         "more than 65535 pivot combinations"},
    };
    for (const RefusalCase& c : cases) {
        Model desc = sampleModel(10);
        c.corrupt(desc);
        LoadResult r = load(modelwriter::writeModel(desc));
        EXPECT_EQ(r.code, 2001) << c.name;
        EXPECT_EQ(r.model, nullptr) << c.name;
        EXPECT_NE(r.output.find(c.message), std::string::npos) << c.name << ":\n" << r.output;
        EXPECT_NE(r.output.find("@AMesh2DModel#loadModel_exe()"), std::string::npos) << c.name;
        delete r.model;
    }
}

// A hand-built model whose stream the test can bend: two parts without
// deformers or drawables. `hook` may replace the second part's deformer list.
std::vector<uint8_t> twoPartModel(const std::function<void(modelwriter::Encoder&, int firstListNumber)>& hook) {
    modelwriter::Encoder e;
    for (char ch : std::string("moc")) e.byte(static_cast<uint8_t>(ch));
    e.byte(10);
    e.classNo(F::MODEL_IMPL);
    e.classNo(F::PARAM_DEF_SET);
    e.classNo(F::OBJECT_ARRAY); e.num(0); e.complete();
    e.complete();
    e.classNo(F::OBJECT_ARRAY);
    e.num(2);
    e.classNo(F::PARTS_DATA); e.byte(0x40); e.id(F::PARTS_DATA_ID, "A");
    const int firstList = e.completedCount();
    e.classNo(F::OBJECT_ARRAY); e.num(0); e.complete();
    e.classNo(F::OBJECT_ARRAY); e.num(0); e.complete();
    e.complete();
    e.classNo(F::PARTS_DATA); e.byte(0x40); e.id(F::PARTS_DATA_ID, "B");
    if (hook) {
        hook(e, firstList);
    } else {
        e.classNo(F::OBJECT_ARRAY); e.num(0); e.complete();
    }
    e.classNo(F::OBJECT_ARRAY); e.num(0); e.complete();
    e.complete();
    e.complete();
    e.i32(640);
    e.i32(480);
    e.complete();
    e.u32(0x88888888u);
    return e.take();
}

struct StreamCase {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* message;
};

TEST_F(ModelRefusalTest, StreamsWithTheWrongShapeAreRefused) {
    std::vector<uint8_t> notAModel = {'m', 'o', 'c', 10, F::PARAM_DEF_SET, F::OBJECT_ARRAY, 0, 0x88, 0x88, 0x88, 0x88};
    std::vector<uint8_t> nullRoot = {'m', 'o', 'c', 10, 0, 0x88, 0x88, 0x88, 0x88};
    const StreamCase cases[] = {
        {"the hand-built model itself loads", twoPartModel(nullptr), nullptr},
        {"root of another class", notAModel, "where the field expects another class"},
        {"null root", nullRoot, "where the field expects another class"},
        {"a part's list shared with another part",
         twoPartModel([](modelwriter::Encoder& e, int first) { e.backReference(first); }), "second owner"},
        {"a string where a deformer list belongs",
         twoPartModel([](modelwriter::Encoder& e, int) { e.stringObject("x"); }),
         "where the field expects another class"},
        {"a model nested in a deformer list",
         twoPartModel([](modelwriter::Encoder& e, int) { e.classNo(F::OBJECT_ARRAY); e.num(1); e.classNo(F::MODEL_IMPL); }),
         "where the field expects another class"},
        {"a null deformer", twoPartModel([](modelwriter::Encoder& e, int) { e.classNo(F::OBJECT_ARRAY); e.num(1); e.nullObject(); }),
         "where the field expects another class"},
        {"a huge object array count", twoPartModel([](modelwriter::Encoder& e, int) { e.classNo(F::OBJECT_ARRAY); e.num(268435455); }),
         "illegal size of array"},
        {"empty file", {}, "range error"},
        {"header only", {'m', 'o', 'c'}, "range error"},
    };
    for (const StreamCase& c : cases) {
        LoadResult r = load(c.bytes);
        if (!c.message) {
            EXPECT_EQ(r.code, 0) << c.name << r.output;
            EXPECT_NE(r.model, nullptr);
            delete r.model;
            continue;
        }
        EXPECT_EQ(r.code, 2001) << c.name;
        EXPECT_EQ(r.model, nullptr) << c.name;
        EXPECT_NE(r.output.find(c.message), std::string::npos) << c.name << ":\n" << r.output;
        delete r.model;
    }
}

TEST_F(ModelRefusalTest, DeepNestingStopsAtTheLimit) {
    // Object arrays nested far deeper than any model, each holding one more array.
    std::vector<uint8_t> deep = {'m', 'o', 'c', 10, F::MODEL_IMPL, F::PARAM_DEF_SET};
    for (int i = 0; i < 10000; ++i) {
        deep.push_back(F::OBJECT_ARRAY);
        deep.push_back(1);
    }
    // Every field of a model names the classes it takes, so the nesting ends at
    // the first array where a definition belongs, whatever the depth asked for.
    LoadResult r = load(deep);
    EXPECT_EQ(r.code, 2001);
    EXPECT_EQ(r.model, nullptr);
}

// Every prefix of a valid file is a truncated file: none may load, and none may
// leave anything behind (a truncated old-version file must not pass with null fields).
TEST_F(ModelRefusalTest, EveryTruncationIsRefused) {
    for (const auto& [version, header] : {std::pair{10, true}, std::pair{7, true}, std::pair{0, false}}) {
        Model desc = sampleModel(version);
        desc.header = header;
        const std::vector<uint8_t> bytes = modelwriter::writeModel(desc);
        for (size_t n = 0; n < bytes.size(); ++n) {
            std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<long>(n));
            LoadResult r = load(prefix);
            ASSERT_NE(r.code, 0) << "version " << version << " truncated to " << n;
            ASSERT_EQ(r.model, nullptr);
        }
    }
}

// Single-byte corruptions anywhere in the file either load a consistent model
// or are refused; they never crash or leak.
TEST_F(ModelRefusalTest, ByteCorruptionsNeverCrashOrLeak) {
    const std::vector<uint8_t> bytes = modelwriter::writeModel(sampleModel(10));
    int accepted = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        for (uint8_t value : {uint8_t{0x00}, uint8_t{0xFF}, static_cast<uint8_t>(bytes[i] ^ 0x01)}) {
            std::vector<uint8_t> copy = bytes;
            copy[i] = value;
            LoadResult r = load(copy);
            EXPECT_EQ(r.code == 0, r.model != nullptr);
            accepted += r.code == 0;
            delete r.model;
        }
    }
    EXPECT_GT(accepted, 0);  // some bytes are free values (coordinates, texture numbers)
}

TEST_F(ModelRefusalTest, RefusedModelsLeaveTheDrawOrderRangeAlone) {
    const int before = IDrawData::getTotalMaxOrder();
    ASSERT_LT(before, 9000);
    Model desc = sampleModel(10);
    faceOf(desc).drawOrders = std::vector<int32_t>{9000, 9000, 9000};
    faceOf(desc).indices[0] = 100;  // refused for another reason
    LoadResult r = load(modelwriter::writeModel(desc));
    EXPECT_EQ(r.code, 2001);
    EXPECT_EQ(IDrawData::getTotalMaxOrder(), before);
}

TEST_F(ModelRefusalTest, DrawableCountIsBelow65535) {
    // The memory records search a list on every free; with half a million
    // chunks that would dominate, so this test runs without them.
    UtDebug::setMemoryDebugFlags(0);
    DrawDataID::getID("D_SAME");  // the interned IDs outlive the models
    PartsDataID::getID("PARTS_MANY");
    const int objectsBefore = LDObject::getInstanceCount();
    for (const int count : {65534, 65535}) {
        Model m;
        m.version = 10;
        modelwriter::Part part;
        part.id = "PARTS_MANY";
        modelwriter::Mesh mesh;
        mesh.id = "D_SAME";  // one interned name, back-referenced
        mesh.parent = "";
        part.meshes.assign(static_cast<size_t>(count), mesh);
        m.parts = {part};
        for (auto& meshRef : m.parts[0].meshes) meshRef.points = {{}};
        LoadResult r = load(modelwriter::writeModel(m));
        EXPECT_EQ(r.code, count < 65535 ? 0 : 2001) << count;
        if (r.code != 0) {
            EXPECT_NE(r.output.find("65535 drawables"), std::string::npos) << r.output;
        }
        delete r.model;
    }
    EXPECT_EQ(LDObject::getInstanceCount(), objectsBefore);
    UtDebug::setMemoryDebugFlags(UtDebug::MEMORY_DEBUG_MEMORY_INFO_COUNT);
}

}  // namespace
}  // namespace mesh2d::test
