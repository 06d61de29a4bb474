// Frames of writer-made models rendered offscreen with the avatar view's
// projection, compared with checked-in pictures (tests/mesh2d/golden) within
// a small per-channel tolerance. PELORA_UPDATE_GOLDENS=1 rewrites them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tools/modelwriter/ModelWriter.h"
#include "tools/render-model/ModelRenderer.h"

namespace {

using modelwriter::AffineDeformer;
using modelwriter::GridDeformer;
using modelwriter::Mesh;
using modelwriter::Model;
using modelwriter::Part;
using rendermodel::Image;

constexpr int kTolerance = 3;

Mesh quad(const std::string& id, const std::string& parent, float x0, float y0, float x1, float y1, int texture,
          int drawOrder = 500) {
    Mesh m;
    m.id = id;
    m.parent = parent;
    m.texture = texture;
    m.drawOrder = drawOrder;
    m.indices = {0, 1, 2, 1, 3, 2};
    m.points = {{x0, y0, x1, y0, x0, y1, x1, y1}};
    m.uvs = {0, 0, 1, 0, 0, 1, 1, 1};
    return m;
}

Image solid(unsigned rgb, int alpha = 255) {
    Image img{2, 2, {}};
    for (int i = 0; i < 4; ++i) {
        img.rgba.insert(img.rgba.end(), {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                                         static_cast<uint8_t>(rgb), static_cast<uint8_t>(alpha)});
    }
    return img;
}

// Four coloured quadrants (red, green / blue, yellow), so turns and mirror
// images are visible.
Image quadrants() {
    Image img{8, 8, {}};
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const unsigned c = y < 4 ? (x < 4 ? 0xE03030u : 0x30C030u) : (x < 4 ? 0x3050E0u : 0xE0D030u);
            img.rgba.insert(img.rgba.end(),
                            {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c), 255});
        }
    }
    return img;
}

struct Scene {
    const char* name;
    Model (*model)();
    std::vector<std::pair<int, Image>> (*textures)();
    std::vector<std::pair<std::string, float>> params;
    std::vector<std::pair<std::string, float>> parts;
};

void PrintTo(const Scene& s, std::ostream* os) { *os << s.name; }

Model affineChain() {
    Model m;
    m.params = {{"PARAM_TURN", 0, 1, 0}};
    Part p;
    p.id = "PARTS_CHAIN";
    AffineDeformer root;
    root.id = "ROOT";
    root.pivots = {{"PARAM_TURN", {0, 1}, std::nullopt}};
    root.states = {{320, 320, 200, 1, 0, false, false}, {320, 320, 200, 1, 60, false, false}};
    AffineDeformer child;
    child.id = "CHILD";
    child.parent = "ROOT";
    child.states = {{0.6f, 0.2f, 0.6f, 1, 45, true, false}};
    p.deformers = {root, child};
    Mesh arm = quad("ARM", "CHILD", -0.5f, -0.5f, 0.5f, 0.5f, 0);
    arm.optionFlags = 0x20;  // mirrored, so wound the other way round: keep both faces
    p.meshes = {quad("BODY", "ROOT", -1, -1, 0, 0, 0), arm};
    m.parts = {p};
    return m;
}

Model warpGrid() {
    Model m;
    Part p;
    p.id = "PARTS_GRID";
    GridDeformer g;
    g.id = "WARP";
    g.rows = 2;
    g.columns = 2;
    g.points = {{200, 160, 320, 200, 440, 160,   //
                 180, 320, 320, 300, 460, 320,   //
                 200, 480, 320, 440, 440, 480}};
    p.deformers = {g};
    Mesh mesh = quad("SHEET", "WARP", 0, 0, 1, 1, 1);
    // A 3 × 3 lattice of quads so the warp shows inside and outside the square.
    mesh.points = {{}};
    mesh.uvs.clear();
    mesh.indices.clear();
    for (int j = 0; j <= 3; ++j) {
        for (int i = 0; i <= 3; ++i) {
            mesh.points[0].insert(mesh.points[0].end(), {-0.4f + 1.8f * i / 3, -0.4f + 1.8f * j / 3});
            mesh.uvs.insert(mesh.uvs.end(), {i / 3.0f, j / 3.0f});
        }
    }
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 3; ++i) {
            const int a = j * 4 + i;
            mesh.indices.insert(mesh.indices.end(), {a, a + 1, a + 4, a + 1, a + 5, a + 4});
        }
    }
    mesh.optionFlags = 0x20;
    p.meshes = {mesh};
    m.parts = {p};
    return m;
}

Model composition() {
    Model m;
    Part p;
    p.id = "PARTS_COMP";
    Mesh base = quad("BASE", "DST_BASE", 100, 100, 540, 540, 0, 400);
    Mesh add = quad("ADD", "DST_BASE", 80, 200, 360, 440, 1, 500);
    add.optionFlags = 1 << 1;
    Mesh mul = quad("MUL", "DST_BASE", 280, 200, 560, 440, 2, 500);
    mul.optionFlags = 2 << 1;
    p.meshes = {base, add, mul};
    m.parts = {p};
    return m;
}

Model culling() {
    Model m;
    Part p;
    p.id = "PARTS_CULL";
    // Left column culled meshes, right column unculled; top rows wound one
    // way, bottom rows the other.
    Mesh culledA = quad("CULLED_A", "DST_BASE", 80, 80, 280, 280, 0);
    Mesh culledB = quad("CULLED_B", "DST_BASE", 80, 360, 280, 560, 0);
    culledB.indices = {0, 2, 1, 1, 2, 3};
    Mesh openA = quad("OPEN_A", "DST_BASE", 360, 80, 560, 280, 1);
    Mesh openB = quad("OPEN_B", "DST_BASE", 360, 360, 560, 560, 1);
    openB.indices = {0, 2, 1, 1, 2, 3};
    openA.optionFlags = openB.optionFlags = 0x20;
    p.meshes = {culledA, culledB, openA, openB};
    m.parts = {p};
    return m;
}

Model drawOrderTies() {
    Model m;
    Part p1, p2;
    p1.id = "PARTS_FIRST";
    p2.id = "PARTS_SECOND";
    p1.meshes = {quad("RED", "DST_BASE", 120, 120, 400, 400, 0, 500),
                 quad("GREEN_UNDER", "DST_BASE", 60, 260, 580, 340, 1, 450)};
    p2.meshes = {quad("BLUE", "DST_BASE", 240, 240, 520, 520, 2, 500)};
    m.parts = {p1, p2};
    return m;
}

Model invisiblePart() {
    Model m;
    Part shown, turnedOn, stillOff;
    shown.id = "PARTS_SHOWN";
    turnedOn.id = "PARTS_TURNED_ON";
    turnedOn.visible = false;
    stillOff.id = "PARTS_STILL_OFF";
    stillOff.visible = false;
    shown.meshes = {quad("S", "DST_BASE", 80, 80, 300, 560, 0)};
    turnedOn.meshes = {quad("T", "DST_BASE", 340, 80, 560, 300, 1)};
    stillOff.meshes = {quad("O", "DST_BASE", 340, 340, 560, 560, 2)};
    m.parts = {shown, turnedOn, stillOff};
    return m;
}

std::vector<std::pair<int, Image>> quadrantTexture() { return {{0, quadrants()}}; }
std::vector<std::pair<int, Image>> gridTextures() { return {{1, quadrants()}}; }
std::vector<std::pair<int, Image>> rgbTextures() {
    return {{0, solid(0xC03030)}, {1, solid(0x30A030)}, {2, solid(0x3040C0, 200)}};
}
std::vector<std::pair<int, Image>> compTextures() {
    return {{0, solid(0x808080)}, {1, solid(0x204080, 255)}, {2, solid(0xFFC040, 255)}};
}

const Scene kScenes[] = {
    {"affine_chain", affineChain, quadrantTexture, {{"PARAM_TURN", 0.5f}}, {}},
    {"warp_grid", warpGrid, gridTextures, {}, {}},
    {"composition", composition, compTextures, {}, {}},
    {"culling", culling, rgbTextures, {}, {}},
    {"draw_order_ties", drawOrderTies, rgbTextures, {}, {}},
    {"invisible_part", invisiblePart, rgbTextures, {}, {{"PARTS_TURNED_ON", 1.0f}}},
};

std::filesystem::path goldenPath(const char* name) {
    const char* root = std::getenv("PELORA_SOURCE_DIR");
#ifdef PELORA_TEST_SOURCE_DIR
    if (root == nullptr) root = PELORA_TEST_SOURCE_DIR;
#endif
    return std::filesystem::path(root ? root : ".") / "tests/mesh2d/golden" / (std::string(name) + ".png");
}

class GoldenRender : public ::testing::TestWithParam<Scene> {};

TEST_P(GoldenRender, MatchesTheCheckedInPicture) {
    const Scene& scene = GetParam();
    rendermodel::RenderJob job;
    job.modelBytes = modelwriter::writeModel(scene.model());
    job.textures = scene.textures();
    job.params = scene.params;
    job.partOpacities = scene.parts;
    job.width = 128;
    job.height = 128;
    job.background = 0xFFFFFF;
    Image frame;
    std::string error;
    testing::internal::CaptureStdout();
    const bool ok = rendermodel::renderModel(job, frame, error);
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(ok) << error;

    const auto path = goldenPath(scene.name);
    const char* update = std::getenv("PELORA_UPDATE_GOLDENS");
    if (update && std::string(update) == "1") {
        std::filesystem::create_directories(path.parent_path());
        ASSERT_TRUE(rendermodel::writePng(path.string(), frame, error)) << error;
        return;
    }
    Image golden;
    ASSERT_TRUE(rendermodel::readPng(path.string(), golden, error)) << error;
    ASSERT_EQ(golden.width, frame.width);
    ASSERT_EQ(golden.height, frame.height);
    int worst = 0, differing = 0;
    for (size_t i = 0; i < frame.rgba.size(); ++i) {
        const int d = std::abs(int(frame.rgba[i]) - int(golden.rgba[i]));
        worst = std::max(worst, d);
        if (d > kTolerance) ++differing;
    }
    EXPECT_EQ(differing, 0) << scene.name << ": worst channel difference " << worst;
}

INSTANTIATE_TEST_SUITE_P(Scenes, GoldenRender, ::testing::ValuesIn(kScenes),
                         [](const auto& info) { return std::string(info.param.name); });

// The frame differs from a blank one, so a renderer that draws nothing
// cannot pass by matching an empty golden.
TEST(GoldenRenderSanity, EveryGoldenShowsSomething) {
    for (const Scene& scene : kScenes) {
        Image golden;
        std::string error;
        ASSERT_TRUE(rendermodel::readPng(goldenPath(scene.name).string(), golden, error)) << error;
        int nonWhite = 0;
        for (size_t i = 0; i + 3 < golden.rgba.size(); i += 4) {
            if (golden.rgba[i] < 250 || golden.rgba[i + 1] < 250 || golden.rgba[i + 2] < 250) ++nonWhite;
        }
        EXPECT_GT(nonWhite, 200) << scene.name;
    }
}

}  // namespace
