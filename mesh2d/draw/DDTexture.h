#pragma once
// A textured triangle mesh: triangle indices and texture coordinates (both in
// the GPU holder), one point set per pivot combination, the texture number
// and, from format version 8, option flags (color composition, culling).
#include "mesh2d/draw/IDrawData.h"
#include "mesh2d/io/BReader.h"

namespace mesh2d {

class DDTexture : public IDrawData {
public:
    static constexpr int OPTION_FLAG_BARCODE_KANFGROUP = 0x1;  // one more int follows
    static constexpr int OPTION_FLAG_CULLING_OFF = 0x20;
    static constexpr int COLOR_COMPOSITION_NORMAL = 0;
    static constexpr int COLOR_COMPOSITION_SCREEN = 1;    // additive
    static constexpr int COLOR_COMPOSITION_MULTIPLY = 2;

    DDTexture() = default;
    ~DDTexture() override;

    void read(BReader& br, MemoryParam* param) override;
    int getType() const override { return TYPE_DD_TEXTURE; }

    IDrawContext* createContext(ModelContext* mdc) override;
    void interpolate(ModelContext* mdc, IDrawContext* cdata) override;
    void applyParent(ModelContext* mdc, IDrawContext* cdata) override;
    void draw(DrawParam* dp, ModelContext* mdc, IDrawContext* cdata) override;
    void dump() override;

    int getTextureNo() const { return textureNo_; }
    void setTextureNo(int no) { textureNo_ = no; }
    int getNumPoints() const { return numPts_; }
    int getNumPolygons() const { return numPolygons_; }
    int getOptionFlag() const { return optionFlag_; }
    int getOptionKanfGroup() const { return optionData_; }
    unsigned short* getIndexArray() const { return indexArray_; }
    int getPivotPointsCount() const { return pivotPoints_ ? pivotPoints_->size() : 0; }
    float* getPivotPoints(int combination) const { return static_cast<float*>((*pivotPoints_)[combination]); }
    float* getUvMap() const { return uvmap_; }
    int getColorCompositionType() const { return colorCompositionType_; }
    bool isCulling() const { return culling_; }

private:
    int textureNo_ = -1;
    int numPts_ = 0;
    int numPolygons_ = 0;
    int optionFlag_ = 0;
    int optionData_ = 0;
    unsigned short* indexArray_ = nullptr;  // 3 x numPolygons_, GPU holder
    ObjectArray* pivotPoints_ = nullptr;    // float arrays of numPts_ x, y pairs
    float* uvmap_ = nullptr;                // numPts_ u, v pairs, GPU holder
    int colorCompositionType_ = COLOR_COMPOSITION_NORMAL;
    bool culling_ = true;
};

}  // namespace mesh2d
