#pragma once
// A plain description of a Mesh2D model, independent of the runtime's classes,
// from which the writer produces model files. Fields that a well-formed file
// derives from others (counts, per-combination defaults) are optional so that
// tests can also describe inconsistent files on purpose.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace modelwriter {

struct ParamDef {
    std::string id;
    float min = 0.0f;
    float max = 1.0f;
    float defaultValue = 0.0f;
};

// One pivot table: a parameter and its ascending key values.
struct Pivot {
    std::string param;
    std::vector<float> values;
    std::optional<int32_t> countOverride;  // written instead of values.size()
};

struct AffineState {
    float originX = 0.0f;
    float originY = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    float rotation = 0.0f;  // degrees
    bool reflectX = false;
    bool reflectY = false;
};

// Parent "" writes a null object; "DST_BASE" is the explicit model-space parent.
struct AffineDeformer {
    std::string id;
    std::string parent = "DST_BASE";
    std::vector<Pivot> pivots;
    std::vector<AffineState> states;          // one per pivot combination
    std::optional<std::vector<float>> opacities;  // default: 1 per combination
};

struct GridDeformer {
    std::string id;
    std::string parent = "DST_BASE";
    int32_t rows = 1;
    int32_t columns = 1;
    std::vector<Pivot> pivots;
    // One point set per combination: (columns + 1) * (rows + 1) x, y pairs, row-major.
    std::vector<std::vector<float>> points;
    std::optional<std::vector<float>> opacities;
};

using Deformer = std::variant<AffineDeformer, GridDeformer>;

struct Mesh {
    std::string id;
    std::string parent = "DST_BASE";
    std::vector<Pivot> pivots;
    int32_t drawOrder = 500;                       // the average draw order field
    std::optional<std::vector<int32_t>> drawOrders;  // default: drawOrder per combination
    std::optional<std::vector<float>> opacities;     // default: 1 per combination
    int32_t texture = 0;
    std::optional<int32_t> pointCount;     // default: uvs.size() / 2
    std::optional<int32_t> triangleCount;  // default: indices.size() / 3
    std::vector<int32_t> indices;          // written as 4-byte integers
    std::vector<std::vector<float>> points;  // one x, y set per combination
    std::vector<float> uvs;
    int32_t optionFlags = 0;  // version >= 8 only
    int32_t optionData = 0;   // written when optionFlags has bit 0
};

struct Part {
    std::string id;
    bool visible = true;
    bool locked = false;  // the first of the part's two bits
    std::vector<Deformer> deformers;
    std::vector<Mesh> meshes;
};

struct Model {
    int version = 10;     // 0 .. 10 (higher values write files the reader must refuse)
    bool header = true;   // "moc" + version byte; without it the file reads as version 0
    std::optional<bool> endMarker;  // default: version >= 8
    bool backReferences = true;     // repeated IDs become back-references (class 33)
    std::vector<ParamDef> params;
    std::vector<Part> parts;
    int32_t width = 640;
    int32_t height = 640;
};

// Number of pivot combinations of a table list: the product of the pivot counts.
size_t combinationCount(const std::vector<Pivot>& pivots);

}  // namespace modelwriter
