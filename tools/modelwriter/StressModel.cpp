#include "tools/modelwriter/StressModel.h"

#include <string>

namespace modelwriter {
namespace {

// A strip of triangles over the mesh's points: (k, k+1, k+2) for every k.
std::vector<int32_t> stripIndices(int points) {
    std::vector<int32_t> indices;
    for (int k = 0; k + 2 < points; ++k) {
        indices.insert(indices.end(), {k, k + 1, k + 2});
    }
    return indices;
}

std::vector<float> pointSet(int points, int mesh, int combo) {
    std::vector<float> set;
    set.reserve(static_cast<size_t>(points) * 2);
    for (int k = 0; k < points; ++k) {
        set.push_back(static_cast<float>(k % 20) * 10.0f + static_cast<float>(combo));
        set.push_back(static_cast<float>(k / 20) * 10.0f + static_cast<float>(mesh));
    }
    return set;
}

}  // namespace

Model makeStressModel(int drawables, int points, int tables, int version) {
    Model model;
    model.version = version;
    std::vector<Pivot> pivots;
    for (int t = 0; t < tables; ++t) {
        const std::string name = "PARAM_STRESS_" + std::to_string(t);
        model.params.push_back({name, -1.0f, 1.0f, 0.0f});
        pivots.push_back({name, {-1.0f, 1.0f}, std::nullopt});
    }
    const size_t combos = combinationCount(pivots);

    Part part;
    part.id = "PARTS_STRESS";
    AffineDeformer root;
    root.id = "D_STRESS_ROOT";
    root.states.push_back({320.0f, 320.0f, 1.0f, 1.0f, 0.0f, false, false});
    part.deformers.push_back(root);

    const std::vector<int32_t> indices = stripIndices(points);
    std::vector<float> uvs;
    for (int k = 0; k < points; ++k) {
        uvs.push_back(static_cast<float>(k % 20) / 20.0f);
        uvs.push_back(static_cast<float>(k / 20) / 20.0f);
    }
    for (int i = 0; i < drawables; ++i) {
        Mesh mesh;
        mesh.id = "D_STRESS_" + std::to_string(i);
        mesh.parent = root.id;
        mesh.pivots = pivots;
        mesh.drawOrder = 400 + i % 200;
        mesh.texture = i % 4;
        mesh.indices = indices;
        mesh.uvs = uvs;
        for (size_t c = 0; c < combos; ++c) {
            mesh.points.push_back(pointSet(points, i, static_cast<int>(c)));
        }
        part.meshes.push_back(std::move(mesh));
    }
    model.parts.push_back(std::move(part));
    return model;
}

}  // namespace modelwriter
