#pragma once
// Base of the deformers: their ID, the parent deformer's ID (null or the ID
// named "DST_BASE" means model space) and, from format version 10, one opacity
// per pivot combination.
#include "live2d/io/ISerializableV2.h"
#include "live2d/type/LDVector.h"

namespace live2d {

class BaseDataID;
class PivotManager;

class IBaseData : public ISerializableV2 {
public:
    static constexpr int TYPE_BD_AFFINE = 1;
    static constexpr int TYPE_BD_BOX_GRID = 2;

    IBaseData() = default;
    ~IBaseData() override;

    virtual int getType() const = 0;
    virtual PivotManager* getPivotManager() const = 0;

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

}  // namespace live2d
