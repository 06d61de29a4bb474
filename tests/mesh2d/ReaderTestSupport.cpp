#include "tests/mesh2d/ReaderTestSupport.h"

namespace mesh2d::test {

using namespace modelwriter;

Model sampleModel(int version) {
    Model m;
    m.version = version;
    m.width = 1024;
    m.height = 2048;
    m.params = {{"PARAM_ANGLE_X", -30.0f, 30.0f, 0.0f}, {"PARAM_BREATH", 0.0f, 1.0f, 0.5f}};

    AffineDeformer root;
    root.id = "D_ROOT";
    root.pivots = {{"PARAM_ANGLE_X", {-30.0f, 30.0f}, std::nullopt}};
    root.states = {{10.0f, 20.0f, 1.5f, 2.5f, -15.0f, true, false}, {30.0f, 40.0f, 0.5f, 0.75f, 15.0f, false, true}};
    root.opacities = std::vector<float>{0.25f, 0.75f};

    GridDeformer grid;
    grid.id = "D_WARP";
    grid.parent = "D_ROOT";
    grid.rows = 2;
    grid.columns = 3;
    std::vector<float> lattice;
    for (int j = 0; j <= grid.rows; ++j) {
        for (int i = 0; i <= grid.columns; ++i) {
            lattice.push_back(static_cast<float>(i) / 3.0f);
            lattice.push_back(static_cast<float>(j) / 2.0f);
        }
    }
    grid.points = {lattice};

    Mesh face;
    face.id = "D_FACE";
    face.parent = "D_WARP";
    face.pivots = {{"PARAM_BREATH", {0.0f, 0.5f, 1.0f}, std::nullopt}};
    face.drawOrder = 510;
    face.drawOrders = std::vector<int32_t>{505, 510, 515};
    face.opacities = std::vector<float>{1.0f, 0.5f, 0.0f};
    face.texture = 3;
    face.indices = {0, 1, 2, 1, 3, 2};
    face.uvs = {0, 0, 1, 0, 0, 1, 1, 1};
    face.points = {{0, 0, 1, 0, 0, 1, 1, 1}, {0, 0, 2, 0, 0, 2, 2, 2}, {0, 0, 3, 0, 0, 3, 3, 3}};
    face.optionFlags = 0x1 | (2 << 1) | 0x20;  // option data, multiplicative, no culling
    face.optionData = 77;

    Mesh hair;
    hair.id = "D_HAIR";
    hair.parent = "DST_BASE";
    hair.drawOrder = 400;
    hair.texture = 1;
    hair.indices = {0, 1, 2};
    hair.uvs = {0, 0, 1, 0, 0, 1};
    hair.points = {{5, 5, 6, 5, 5, 6}};

    Part first;
    first.id = "PARTS_01";
    first.locked = true;
    first.deformers = {root, grid};
    first.meshes = {face};
    Part second;
    second.id = "PARTS_02";
    second.visible = false;
    second.meshes = {hair};
    m.parts = {first, second};
    return m;
}

}  // namespace mesh2d::test
