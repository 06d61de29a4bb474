#include "tools/modelwriter/ModelWriter.h"

#include <cstdio>

#include "tools/modelwriter/Encoder.h"

namespace modelwriter {

size_t combinationCount(const std::vector<Pivot>& pivots) {
    size_t product = 1;
    for (const Pivot& p : pivots) {
        product *= p.values.size();
    }
    return product;
}

namespace {

class StreamWriter {
public:
    StreamWriter(const Model& model, std::vector<ArraySpan>* spans) : model_(model) {
        enc_.setBackReferences(model.backReferences);
        enc_.recordArrays(spans);
    }

    std::vector<uint8_t> run() {
        if (model_.header) {
            enc_.byte('m');
            enc_.byte('o');
            enc_.byte('c');
            enc_.byte(static_cast<uint8_t>(model_.version));
        }
        modelImpl();
        if (model_.endMarker.value_or(version() >= 8)) {
            enc_.u32(kEndMarker);
        }
        return enc_.take();
    }

private:
    // A file without the header is read as version 0.
    int version() const { return model_.header ? model_.version : 0; }

    template <typename T, typename Fn>
    void objectArray(const std::vector<T>& items, Fn&& writeItem) {
        enc_.classNo(kObjectArray);
        enc_.num(static_cast<uint32_t>(items.size()));
        for (const T& item : items) {
            writeItem(item);
        }
        enc_.complete();
    }

    void optionalId(int32_t cls, const std::string& name) {
        if (name.empty()) {
            enc_.nullObject();
        } else {
            enc_.id(cls, name);
        }
    }

    void modelImpl() {
        enc_.classNo(kModelImpl);
        enc_.classNo(kParamDefSet);
        objectArray(model_.params, [this](const ParamDef& p) { paramDef(p); });
        enc_.complete();
        objectArray(model_.parts, [this](const Part& p) { part(p); });
        enc_.i32(model_.width);
        enc_.i32(model_.height);
        enc_.complete();
    }

    void paramDef(const ParamDef& p) {
        enc_.classNo(kParamDefFloat);
        enc_.f32(p.min);
        enc_.f32(p.max);
        enc_.f32(p.defaultValue);
        enc_.id(kParamId, p.id);
        enc_.complete();
    }

    void part(const Part& p) {
        enc_.classNo(kPartsData);
        // Two bits, most significant first: the unused flag, then visibility.
        enc_.byte(static_cast<uint8_t>((p.locked ? 0x80 : 0) | (p.visible ? 0x40 : 0)));
        enc_.id(kPartsDataId, p.id);
        objectArray(p.deformers, [this](const Deformer& d) { deformer(d); });
        objectArray(p.meshes, [this](const Mesh& m) { mesh(m); });
        enc_.complete();
    }

    void pivotManager(const std::vector<Pivot>& pivots) {
        enc_.classNo(kPivotManager);
        objectArray(pivots, [this](const Pivot& p) {
            enc_.classNo(kParamPivots);
            enc_.id(kParamId, p.param);
            enc_.i32(p.countOverride.value_or(static_cast<int32_t>(p.values.size())));
            enc_.floatArray(p.values);
            enc_.complete();
        });
        enc_.complete();
    }

    std::vector<float> opacitiesOf(const std::optional<std::vector<float>>& given,
                                   const std::vector<Pivot>& pivots) const {
        return given ? *given : std::vector<float>(combinationCount(pivots), 1.0f);
    }

    void deformer(const Deformer& d) {
        if (const auto* affine = std::get_if<AffineDeformer>(&d)) {
            affineDeformer(*affine);
        } else {
            gridDeformer(std::get<GridDeformer>(d));
        }
    }

    void affineDeformer(const AffineDeformer& d) {
        enc_.classNo(kAffine);
        enc_.id(kBaseDataId, d.id);
        optionalId(kBaseDataId, d.parent);
        pivotManager(d.pivots);
        objectArray(d.states, [this](const AffineState& s) {
            enc_.classNo(kAffineEnt);
            enc_.f32(s.originX);
            enc_.f32(s.originY);
            enc_.f32(s.scaleX);
            enc_.f32(s.scaleY);
            enc_.f32(s.rotation);
            if (version() >= 10) {
                enc_.boolean(s.reflectX);
                enc_.boolean(s.reflectY);
            }
            enc_.complete();
        });
        if (version() >= 10) {
            enc_.vectorFloat(opacitiesOf(d.opacities, d.pivots));
        }
        enc_.complete();
    }

    void gridDeformer(const GridDeformer& d) {
        enc_.classNo(kBoxGrid);
        enc_.id(kBaseDataId, d.id);
        optionalId(kBaseDataId, d.parent);
        enc_.i32(d.rows);  // rows are stored before columns
        enc_.i32(d.columns);
        pivotManager(d.pivots);
        objectArray(d.points, [this](const std::vector<float>& set) { enc_.floatArray(set); });
        if (version() >= 10) {
            enc_.vectorFloat(opacitiesOf(d.opacities, d.pivots));
        }
        enc_.complete();
    }

    void mesh(const Mesh& m) {
        enc_.classNo(kTexture);
        enc_.id(kDrawDataId, m.id);
        optionalId(kBaseDataId, m.parent);
        pivotManager(m.pivots);
        enc_.i32(m.drawOrder);
        const size_t combos = combinationCount(m.pivots);
        enc_.vectorInt(m.drawOrders ? *m.drawOrders : std::vector<int32_t>(combos, m.drawOrder));
        enc_.vectorFloat(opacitiesOf(m.opacities, m.pivots));
        enc_.i32(m.texture);
        enc_.i32(m.pointCount.value_or(static_cast<int32_t>(m.uvs.size() / 2)));
        enc_.i32(m.triangleCount.value_or(static_cast<int32_t>(m.indices.size() / 3)));
        enc_.intArray(m.indices);
        objectArray(m.points, [this](const std::vector<float>& set) { enc_.floatArray(set); });
        enc_.floatArray(m.uvs);
        if (version() >= 8) {
            enc_.i32(m.optionFlags);
            if (m.optionFlags & 1) {
                enc_.i32(m.optionData);
            }
        }
        enc_.complete();
    }

    const Model& model_;
    Encoder enc_;
};

}  // namespace

std::vector<uint8_t> writeModel(const Model& model) { return StreamWriter(model, nullptr).run(); }

std::vector<uint8_t> writeModel(const Model& model, std::vector<ArraySpan>* spans) {
    return StreamWriter(model, spans).run();
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        error = "cannot open " + path + " for writing";
        return false;
    }
    const size_t written = bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), f);
    const bool closed = std::fclose(f) == 0;
    if (written != bytes.size() || !closed) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace modelwriter
