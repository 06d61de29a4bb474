#pragma once
// Base of the deformers: their ID, the parent deformer's ID (null or the ID
// named "DST_BASE" means model space) and, from format version 10, one opacity
// per pivot combination.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include "mesh2d/io/ISerializableV2.h"
#include "mesh2d/type/LDVector.h"

namespace mesh2d {

class BaseDataID;
class IBaseContext;
class ModelContext;
class PivotManager;

class IBaseData : public ISerializableV2 {
public:
    static constexpr int TYPE_BD_AFFINE = 1;
    static constexpr int TYPE_BD_BOX_GRID = 2;

    IBaseData() = default;
    ~IBaseData() override;

    virtual int getType() const = 0;
    virtual PivotManager* getPivotManager() const = 0;

    // Per-frame behaviour, implemented by each kind (BDAffine_behaviour.cpp,
    // BDBoxGrid_behaviour.cpp). Contexts come from the model context's holder.
    virtual IBaseContext* createContext(ModelContext* mdc) = 0;
    // Blends the state from the pivot tables when a parameter changed.
    virtual void interpolate(ModelContext* mdc, IBaseContext* cdata) = 0;
    // Combines the blended state with the parent's context.
    virtual void applyParent(ModelContext* mdc, IBaseContext* cdata) = 0;
    // Maps x, y pairs at src[ptOffset + k·ptStep] into dst (may be src).
    virtual void transformPoints(ModelContext* mdc, IBaseContext* cdata, float* srcPoints, float* dstPoints,
                                 int numPoint, int ptOffset, int ptStep) = 0;
    virtual void dump() = 0;

    BaseDataID* getBaseDataID() const { return baseDataId_; }
    BaseDataID* getTargetBaseDataID() const { return targetBaseDataId_; }
    // True when the parent ID names a deformer (not null, not "DST_BASE").
    bool hasParent() const;
    // Null for files before version 10.
    LDVector<float>* getPivotOpacities() const { return pivotOpacities_; }

protected:
    // The fields shared by both kinds, read first.
    void readV2(BReader& br, MemoryParam* param);
    void readPivotOpacities(BReader& br, MemoryParam* param);

private:
    BaseDataID* baseDataId_ = nullptr;        // interned, not owned
    BaseDataID* targetBaseDataId_ = nullptr;  // interned, not owned
    LDVector<float>* pivotOpacities_ = nullptr;
};

}  // namespace mesh2d
