// model_frame: the cost of one frame of the Mesh2D runtime.
//
// (a) update of the writer-made stress model (one root BDAffine, 200 meshes
//     × 200 points, 4 two-pivot parameter tables, parameters between pivots
//     every frame) against a flat reference loop over plain arrays doing the
//     same blends and affine transform in the same order; the reference's
//     points are checked bit-identical against getTransformedPoints.
// (b) update + draw of a demo-sized model into the offscreen GL context.
#include <GLES/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "mesh2d/Mesh2D.h"
#include "mesh2d/Mesh2DModelIPhone.h"
#include "platform/GLContext.h"
#include "tools/modelwriter/ModelWriter.h"
#include "tools/modelwriter/StressModel.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDrawables = 200;
constexpr int kPoints = 200;
constexpr int kTables = 4;
constexpr int kCombos = 1 << kTables;
constexpr int kFramesPerRun = 100;
constexpr int kRuns = 11;

// Parameter values of frame f: always strictly between the pivots -1 and 1.
float paramValue(int frame, int table) {
    return 0.9f * std::sin(0.05f * static_cast<float>(frame) + 0.7f * static_cast<float>(table));
}

// The stress model's inputs, as plain arrays.
struct Reference {
    std::vector<float> sets;  // [mesh][combo][point·2]
    std::vector<float> out;   // [mesh][point·2]
    std::vector<int> drawOrder;
    std::vector<float> opacity;
    float originX = 0, originY = 0, rotation = 0, scale = 1;

    explicit Reference(const modelwriter::Model& m) {
        const auto& part = m.parts[0];
        const auto& root = std::get<modelwriter::AffineDeformer>(part.deformers[0]);
        originX = root.states[0].originX;
        originY = root.states[0].originY;
        rotation = root.states[0].rotation;
        scale = root.states[0].scaleX;
        for (const auto& mesh : part.meshes) {
            for (const auto& set : mesh.points) sets.insert(sets.end(), set.begin(), set.end());
        }
        out.resize(static_cast<size_t>(kDrawables) * kPoints * 2);
        drawOrder.resize(kDrawables);
        opacity.resize(kDrawables);
    }

    static float lerp(float a, float b, float t) { return a + (b - a) * t; }
    static float mix(float x, float y, float t) { return (1.0f - t) * x + t * y; }

    void frame(const float* g, const std::vector<modelwriter::Mesh>& meshes) {
        float t[kTables];
        for (int j = 0; j < kTables; ++j) t[j] = (g[j] - -1.0f) / (1.0f - -1.0f);
        const float theta = rotation * 0.017453292f;
        const float c = static_cast<float>(std::cos(static_cast<double>(theta)));
        const float s = static_cast<float>(std::sin(static_cast<double>(theta)));
        const float a = c * scale, b = s * scale, cc = s * scale, d = c * scale;
        for (int m = 0; m < kDrawables; ++m) {
            const float* base = &sets[static_cast<size_t>(m) * kCombos * kPoints * 2];
            const float* v[kCombos];
            for (int k = 0; k < kCombos; ++k) v[k] = base + static_cast<size_t>(k) * kPoints * 2;
            // Draw order (integer steps) and opacity, as the runtime blends them.
            const auto& orders = *meshes[m].drawOrders;
            int lv[kCombos];
            for (int k = 0; k < kCombos; ++k) lv[k] = orders[k];
            for (int j = 0, count = kCombos; j < kTables; ++j, count /= 2) {
                for (int i = 0; i < count / 2; ++i) {
                    const float x = static_cast<float>(lv[2 * i]), y = static_cast<float>(lv[2 * i + 1]);
                    lv[i] = static_cast<int>(j == 0 ? lerp(x, y, t[0]) : mix(x, y, t[j]));
                }
            }
            drawOrder[m] = lv[0];
            const auto& op = *meshes[m].opacities;
            opacity[m] = blend(t, [&](int k) { return op[k]; });
            float* o = &out[static_cast<size_t>(m) * kPoints * 2];
            for (int p = 0; p < kPoints; ++p) {
                const float x = blend(t, [&](int k) { return v[k][2 * p]; });
                const float y = blend(t, [&](int k) { return v[k][2 * p + 1]; });
                o[2 * p] = originX + a * x - b * y;
                o[2 * p + 1] = originY + cc * x + d * y;
            }
        }
    }

    template <typename V>
    static float blend(const float* t, V v) {
        return mix(mix(mix(lerp(v(0), v(1), t[0]), lerp(v(2), v(3), t[0]), t[1]),
                       mix(lerp(v(4), v(5), t[0]), lerp(v(6), v(7), t[0]), t[1]), t[2]),
                   mix(mix(lerp(v(8), v(9), t[0]), lerp(v(10), v(11), t[0]), t[1]),
                       mix(lerp(v(12), v(13), t[0]), lerp(v(14), v(15), t[0]), t[1]), t[2]),
                   t[3]);
    }
};

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

const char* kParamNames[kTables] = {"PARAM_STRESS_0", "PARAM_STRESS_1", "PARAM_STRESS_2", "PARAM_STRESS_3"};

void setFrameParams(mesh2d::AMesh2DModel* model, int frame) {
    for (int j = 0; j < kTables; ++j) model->setParamFloat(kParamNames[j], paramValue(frame, j));
}

bool checkIdentical(mesh2d::AMesh2DModel* model, Reference& ref, const modelwriter::Model& desc) {
    setFrameParams(model, 12345);
    model->update();
    float g[kTables];
    for (int j = 0; j < kTables; ++j) g[j] = paramValue(12345, j);
    ref.frame(g, desc.parts[0].meshes);
    for (int m = 0; m < kDrawables; ++m) {
        int count = 0;
        const float* p = model->getTransformedPoints(m, &count);
        if (p == nullptr || count != kPoints ||
            std::memcmp(p, &ref.out[static_cast<size_t>(m) * kPoints * 2], sizeof(float) * kPoints * 2) != 0) {
            std::printf("mismatch in mesh %d\n", m);
            return false;
        }
    }
    return true;
}

// Returns the runtime / reference time ratio, or a negative value on failure.
double benchUpdate() {
    modelwriter::Model desc = modelwriter::makeStressModel(kDrawables, kPoints, kTables);
    // The writer fills per-combination defaults when it writes; the reference
    // needs them as arrays.
    for (auto& mesh : desc.parts[0].meshes) {
        mesh.drawOrders = std::vector<int32_t>(kCombos, mesh.drawOrder);
        mesh.opacities = std::vector<float>(kCombos, 1.0f);
    }
    const std::vector<uint8_t> bytes = modelwriter::writeModel(desc);
    mesh2d::Mesh2DModelIPhone* model = mesh2d::Mesh2DModelIPhone::loadModel(bytes.data(), static_cast<int>(bytes.size()));
    if (model == nullptr) {
        std::printf("stress model refused\n");
        return -1;
    }
    Reference ref(desc);
    if (!checkIdentical(model, ref, desc)) {
        delete model;
        return -1;
    }
    std::printf("reference output bit-identical to getTransformedPoints (%d meshes x %d points)\n", kDrawables,
                kPoints);

    std::vector<double> ours, theirs;
    int frame = 0;
    float sink = 0;
    for (int run = 0; run < kRuns; ++run) {
        const int start = frame;
        auto t0 = Clock::now();
        for (int f = 0; f < kFramesPerRun; ++f, ++frame) {
            setFrameParams(model, frame);
            model->update();
        }
        auto t1 = Clock::now();
        frame = start;
        for (int f = 0; f < kFramesPerRun; ++f, ++frame) {
            float g[kTables];
            for (int j = 0; j < kTables; ++j) g[j] = paramValue(frame, j);
            ref.frame(g, desc.parts[0].meshes);
            sink += ref.out[static_cast<size_t>(f) % ref.out.size()];
        }
        auto t2 = Clock::now();
        ours.push_back(seconds(t1 - t0) / kFramesPerRun);
        theirs.push_back(seconds(t2 - t1) / kFramesPerRun);
    }
    delete model;
    const double o = median(ours), r = median(theirs);
    std::printf("update per frame: runtime %.1f us, reference %.1f us (median of %d runs of %d frames)%s\n", o * 1e6,
                r * 1e6, kRuns, kFramesPerRun, sink == 12345.678f ? " " : "");
    return o / r;
}

// A model of the avatar's size: a root affine, a warp grid under it and 40
// meshes of 64 points over a 512 × 512 texture, two parameters in motion.
modelwriter::Model demoModel() {
    modelwriter::Model m;
    m.params = {{"PARAM_ANGLE_X", -30, 30, 0}, {"PARAM_MOUTH_OPEN_Y", 0, 1, 0}};
    modelwriter::Part part;
    part.id = "PARTS_DEMO";
    modelwriter::AffineDeformer root;
    root.id = "D_ROOT";
    root.pivots = {{"PARAM_ANGLE_X", {-30, 30}, std::nullopt}};
    root.states = {{320, 400, 300, 1, -8, false, false}, {320, 400, 300, 1, 8, false, false}};
    modelwriter::GridDeformer grid;
    grid.id = "D_WARP";
    grid.parent = "D_ROOT";
    grid.rows = grid.columns = 4;
    grid.pivots = {{"PARAM_MOUTH_OPEN_Y", {0, 1}, std::nullopt}};
    for (int c = 0; c < 2; ++c) {
        std::vector<float> pts;
        for (int j = 0; j <= 4; ++j) {
            for (int i = 0; i <= 4; ++i) {
                pts.push_back(-1.0f + 0.5f * i + (c ? 0.05f * std::sin(j * 1.0f) : 0.0f));
                pts.push_back(-1.0f + 0.5f * j);
            }
        }
        grid.points.push_back(pts);
    }
    part.deformers = {root, grid};
    for (int d = 0; d < 40; ++d) {
        modelwriter::Mesh mesh;
        mesh.id = "D_MESH_" + std::to_string(d);
        mesh.parent = "D_WARP";
        mesh.drawOrder = 400 + d;
        mesh.texture = 0;
        std::vector<float> pts;
        for (int j = 0; j < 8; ++j) {
            for (int i = 0; i < 8; ++i) {
                pts.push_back(0.1f + 0.1f * i + 0.005f * d);
                pts.push_back(0.1f + 0.1f * j);
                mesh.uvs.push_back(i / 7.0f);
                mesh.uvs.push_back(j / 7.0f);
            }
        }
        mesh.points = {pts};
        for (int j = 0; j < 7; ++j) {
            for (int i = 0; i < 7; ++i) {
                const int a = j * 8 + i;
                mesh.indices.insert(mesh.indices.end(), {a, a + 1, a + 8, a + 1, a + 9, a + 8});
            }
        }
        part.meshes.push_back(mesh);
    }
    m.parts = {part};
    return m;
}

// Returns frames per second, or a negative value on failure.
double benchDraw() {
    auto gl = platform::createOffscreenGLContext(320, 480);
    if (!gl) return -1;
    const std::vector<uint8_t> bytes = modelwriter::writeModel(demoModel());
    mesh2d::Mesh2DModelIPhone* model = mesh2d::Mesh2DModelIPhone::loadModel(bytes.data(), static_cast<int>(bytes.size()));
    if (model == nullptr) return -1;
    std::vector<uint8_t> texels(512 * 512 * 4);
    for (size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<uint8_t>((i * 37) ^ (i >> 9));
    GLuint tex = 0;
    glGenTextures(1, &tex);
    glBindTexture(GL_TEXTURE_2D, tex);
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 512, 512, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    model->setTexture(0, tex);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrthof(0, 640, 480.0f * 640.0f / 320.0f, 0, 0.5f, -0.5f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const int frames = 120;
    // The runtime's share of a frame: update alone.
    auto u0 = Clock::now();
    for (int f = 0; f < frames; ++f) {
        model->setParamFloat("PARAM_ANGLE_X", 25.0f * std::sin(0.1f * f));
        model->setParamFloat("PARAM_MOUTH_OPEN_Y", 0.5f + 0.5f * std::sin(0.3f * f));
        model->update();
    }
    const double updateSeconds = seconds(Clock::now() - u0);
    auto t0 = Clock::now();
    for (int f = 0; f < frames; ++f) {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        model->setParamFloat("PARAM_ANGLE_X", 25.0f * std::sin(0.1f * f));
        model->setParamFloat("PARAM_MOUTH_OPEN_Y", 0.5f + 0.5f * std::sin(0.3f * f));
        model->update();
        model->draw();
        glFinish();
    }
    const double s = seconds(Clock::now() - t0);
    delete model;
    glDeleteTextures(1, &tex);
    std::printf("update + draw of a 40-mesh model into 320 x 480: %.2f ms per frame (update alone %.3f ms; the rest is "
                "rasterisation)\n",
                1e3 * s / frames, 1e3 * updateSeconds / frames);
    return frames / s;
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    mesh2d::Mesh2D::init();
    const double ratio = benchUpdate();
    const double fps = benchDraw();
    mesh2d::Mesh2D::dispose();
    if (ratio < 0 || fps < 0) return 1;
    std::printf("RESULT model_frame_ratio %.3f x\n", ratio);
    std::printf("RESULT model_draw_fps %.1f fps\n", fps);
    return 0;
}
