// libFuzzer target for the per-frame pipeline: arbitrary parameter values,
// part opacities and frame sequences on a fixed writer-made model with an
// affine → grid → affine chain, plus arbitrary grids and points through the
// grid mapping. A recording draw parameter reads every index and point it is
// handed, so the sanitizer sees any array the pipeline gets wrong.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "mesh2d/Mesh2D.h"
#include "mesh2d/Mesh2DModelIPhone.h"
#include "mesh2d/ModelContext.h"
#include "mesh2d/base/DeformMath.h"
#include "mesh2d/draw/DrawParam.h"
#include "mesh2d/util/UtDebug.h"
#include "tools/modelwriter/ModelWriter.h"

namespace {

using namespace modelwriter;

const char* const kParams[] = {"PARAM_A", "PARAM_B", "PARAM_C", "PARAM_UNDECLARED"};
const char* const kParts[] = {"PARTS_ONE", "PARTS_TWO", "PARTS_NONE"};

Mesh mesh(const std::string& id, const std::string& parent, int order, std::vector<Pivot> pivots) {
    Mesh m;
    m.id = id;
    m.parent = parent;
    m.drawOrder = order;
    m.pivots = pivots;
    m.indices = {0, 1, 2, 1, 3, 2};
    m.uvs = {0, 0, 1, 0, 0, 1, 1, 1};
    const size_t combos = combinationCount(pivots);
    std::vector<int32_t> orders;
    for (size_t c = 0; c < combos; ++c) {
        const float d = static_cast<float>(c) * 0.1f;
        m.points.push_back({-d, -d, 1 + d, 0, 0, 1 + d, 1, 1});
        orders.push_back(order + static_cast<int32_t>(c % 3) * 50 - 50);
    }
    m.drawOrders = orders;
    return m;
}

std::vector<uint8_t> makeModel() {
    Model m;
    m.params = {{"PARAM_A", -1, 1, 0}, {"PARAM_B", 0, 10, 5}, {"PARAM_C", -30, 30, 0}};
    const Pivot a{"PARAM_A", {-1, 0, 1}, std::nullopt};
    const Pivot b{"PARAM_B", {0, 10}, std::nullopt};
    const Pivot c{"PARAM_C", {-30, 30}, std::nullopt};
    Part one, two;
    one.id = "PARTS_ONE";
    two.id = "PARTS_TWO";
    two.visible = false;
    AffineDeformer root;
    root.id = "ROOT";
    root.pivots = {c};
    root.states = {{320, 320, 100, 1, -20, false, false}, {320, 320, 120, 1, 20, true, false}};
    root.opacities = std::vector<float>{1, 0.5f};
    GridDeformer grid;
    grid.id = "GRID";
    grid.parent = "ROOT";
    grid.pivots = {a};
    grid.rows = 2;
    grid.columns = 3;
    for (int k = 0; k < 3; ++k) {
        std::vector<float> pts;
        for (int j = 0; j <= 2; ++j) {
            for (int i = 0; i <= 3; ++i) pts.insert(pts.end(), {i / 3.0f + 0.1f * k * j, j / 2.0f - 0.05f * k * i});
        }
        grid.points.push_back(pts);
    }
    AffineDeformer leaf;
    leaf.id = "LEAF";
    leaf.parent = "GRID";
    leaf.pivots = {b};
    leaf.states = {{0.5f, 0.5f, 0.2f, 1, 0, false, false}, {0.4f, 0.6f, 0.3f, 1, 90, false, true}};
    one.deformers = {leaf, grid, root};  // children first: the context orders them
    one.meshes = {mesh("M_ROOT", "ROOT", 500, {a, b}), mesh("M_GRID", "GRID", 450, {c}),
                  mesh("M_LEAF", "LEAF", 500, {a, b, c})};
    two.meshes = {mesh("M_BASE", "DST_BASE", 500, {b}), mesh("M_LOST", "NOWHERE", 400, {})};
    m.parts = {one, two};
    return writeModel(m);
}

class CheckingDrawParam : public mesh2d::DrawParam {
public:
    void drawTexture(int, int indexCount, int pointCount, const unsigned short* indices, const float* points,
                     const float* uvs, float, int) override {
        volatile float sum = 0;
        for (int i = 0; i < indexCount; ++i) {
            if (indices[i] >= pointCount) std::abort();
            sum = sum + points[2 * indices[i]] + points[2 * indices[i] + 1] + uvs[2 * indices[i]];
        }
    }
};

float floatAt(const uint8_t* p) {
    float f;
    std::memcpy(&f, p, sizeof f);
    return f;
}

// Frames of 6-byte records: operation, target, value (4 bytes).
void runFrames(const uint8_t* data, size_t size) {
    static const std::vector<uint8_t> bytes = makeModel();
    mesh2d::Mesh2DModelIPhone* model =
        mesh2d::Mesh2DModelIPhone::loadModel(bytes.data(), static_cast<int>(bytes.size()));
    if (model == nullptr) std::abort();
    CheckingDrawParam dp;
    for (size_t i = 0; i + 6 <= size; i += 6) {
        const float v = floatAt(data + i + 2);
        switch (data[i] % 5) {
        case 0: model->setParamFloat(kParams[data[i + 1] % 4], v); break;
        case 1: model->setParamFloat(kParams[data[i + 1] % 4], v, static_cast<float>(data[i + 1]) / 255.0f); break;
        case 2: model->setPartsOpacity(kParts[data[i + 1] % 3], v); break;
        case 3: model->update(); model->getModelContext()->draw(&dp); break;
        default: {
            int count = 0;
            const float* p = model->getTransformedPoints(static_cast<int8_t>(data[i + 1]), &count);
            volatile float sum = 0;
            for (int k = 0; p && k < 2 * count; ++k) sum = sum + p[k];
            break;
        }
        }
    }
    model->update();
    model->getModelContext()->draw(&dp);
    delete model;
}

// An arbitrary grid of up to 4 × 4 cells and points through it.
void runGrid(const uint8_t* data, size_t size) {
    if (size < 2) return;
    const int columns = 1 + data[0] % 4, rows = 1 + data[1] % 4;
    const size_t gridFloats = static_cast<size_t>((columns + 1) * (rows + 1) * 2);
    std::vector<float> grid(gridFloats, 0.0f), pts;
    size_t k = 2;
    for (size_t g = 0; g < gridFloats && k + 4 <= size; ++g, k += 4) grid[g] = floatAt(data + k);
    for (; k + 4 <= size; k += 4) pts.push_back(floatAt(data + k));
    if (pts.size() % 2) pts.pop_back();
    std::vector<float> out(pts.size());
    mesh2d::mapGrid(grid.data(), columns, rows, pts.data(), out.data(), static_cast<int>(pts.size() / 2), 0, 2);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The runtime reports bad values on standard output: keep it quiet.
    if (!std::freopen("/dev/null", "w", stdout)) return 0;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 4096) return 0;
    if (data[0] & 1) {
        runGrid(data + 1, size - 1);
        return 0;
    }
    mesh2d::Mesh2D::init();
    runFrames(data + 1, size - 1);
    mesh2d::Mesh2D::dispose();
    return 0;
}
