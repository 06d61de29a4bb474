#include "tools/modelwriter/ModelJson.h"

#include <nlohmann/json.hpp>

namespace modelwriter {
namespace {

using nlohmann::json;

// Field readers: a missing key keeps the default; a key of the wrong type throws
// json::type_error, which modelFromJson turns into an error message.
template <typename T>
void field(const json& j, const char* key, T& out) {
    if (j.contains(key)) {
        out = j.at(key).get<T>();
    }
}

template <typename T>
void optionalField(const json& j, const char* key, std::optional<T>& out) {
    if (j.contains(key)) {
        out = j.at(key).get<T>();
    }
}

std::vector<Pivot> pivotsFrom(const json& j) {
    std::vector<Pivot> pivots;
    if (!j.contains("pivots")) {
        return pivots;
    }
    for (const json& p : j.at("pivots")) {
        Pivot pivot;
        pivot.param = p.at("param").get<std::string>();
        pivot.values = p.at("values").get<std::vector<float>>();
        optionalField(p, "count", pivot.countOverride);
        pivots.push_back(std::move(pivot));
    }
    return pivots;
}

AffineState affineStateFrom(const json& j) {
    AffineState s;
    field(j, "x", s.originX);
    field(j, "y", s.originY);
    field(j, "scaleX", s.scaleX);
    field(j, "scaleY", s.scaleY);
    field(j, "rotation", s.rotation);
    field(j, "reflectX", s.reflectX);
    field(j, "reflectY", s.reflectY);
    return s;
}

Deformer deformerFrom(const json& j) {
    const std::string type = j.at("type").get<std::string>();
    if (type == "affine") {
        AffineDeformer d;
        d.id = j.at("id").get<std::string>();
        field(j, "parent", d.parent);
        d.pivots = pivotsFrom(j);
        for (const json& s : j.at("states")) {
            d.states.push_back(affineStateFrom(s));
        }
        optionalField(j, "opacities", d.opacities);
        return d;
    }
    if (type == "grid") {
        GridDeformer d;
        d.id = j.at("id").get<std::string>();
        field(j, "parent", d.parent);
        field(j, "rows", d.rows);
        field(j, "columns", d.columns);
        d.pivots = pivotsFrom(j);
        d.points = j.at("points").get<std::vector<std::vector<float>>>();
        optionalField(j, "opacities", d.opacities);
        return d;
    }
    throw std::invalid_argument("deformer type must be \"affine\" or \"grid\", not \"" + type + "\"");
}

Mesh meshFrom(const json& j) {
    Mesh m;
    m.id = j.at("id").get<std::string>();
    field(j, "parent", m.parent);
    m.pivots = pivotsFrom(j);
    field(j, "drawOrder", m.drawOrder);
    optionalField(j, "drawOrders", m.drawOrders);
    optionalField(j, "opacities", m.opacities);
    field(j, "texture", m.texture);
    optionalField(j, "pointCount", m.pointCount);
    optionalField(j, "triangleCount", m.triangleCount);
    field(j, "indices", m.indices);
    m.points = j.at("points").get<std::vector<std::vector<float>>>();
    field(j, "uvs", m.uvs);
    field(j, "optionFlags", m.optionFlags);
    field(j, "optionData", m.optionData);
    return m;
}

Part partFrom(const json& j) {
    Part p;
    p.id = j.at("id").get<std::string>();
    field(j, "visible", p.visible);
    field(j, "locked", p.locked);
    if (j.contains("deformers")) {
        for (const json& d : j.at("deformers")) {
            p.deformers.push_back(deformerFrom(d));
        }
    }
    if (j.contains("meshes")) {
        for (const json& m : j.at("meshes")) {
            p.meshes.push_back(meshFrom(m));
        }
    }
    return p;
}

}  // namespace

bool modelFromJson(const std::string& text, Model& out, std::string& error) {
    try {
        const json j = json::parse(text);
        Model m;
        field(j, "version", m.version);
        field(j, "header", m.header);
        optionalField(j, "endMarker", m.endMarker);
        field(j, "backReferences", m.backReferences);
        field(j, "width", m.width);
        field(j, "height", m.height);
        if (j.contains("params")) {
            for (const json& p : j.at("params")) {
                ParamDef def;
                def.id = p.at("id").get<std::string>();
                field(p, "min", def.min);
                field(p, "max", def.max);
                field(p, "default", def.defaultValue);
                m.params.push_back(std::move(def));
            }
        }
        if (j.contains("parts")) {
            for (const json& p : j.at("parts")) {
                m.parts.push_back(partFrom(p));
            }
        }
        if (m.version < 0 || m.version > 255) {
            error = "version must be 0 .. 255";
            return false;
        }
        out = std::move(m);
        return true;
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
}

}  // namespace modelwriter
