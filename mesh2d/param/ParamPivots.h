#pragma once
// The pivot table of one parameter: ascending key values at which a deformer
// or drawable stores its states, plus the cached lookup state the per-frame
// pivot search keeps in it.
#include "mesh2d/io/ISerializableV2.h"

namespace mesh2d {

class ParamID;

class ParamPivots : public ISerializableV2 {
public:
    static constexpr int PARAM_INDEX_NOT_INIT = -2;

    ParamPivots() = default;
    ~ParamPivots() override;

    void read(BReader& br, MemoryParam* param) override;

    int getPivotCount() const { return pivotCount_; }
    ParamID* getParamID() const { return paramId_; }
    const float* getPivotValues() const { return pivotValues_; }

    // Per-frame lookup state (written by the pivot search).
    int getParamIndex(int initVersion) const {
        return indexInitVersion_ == initVersion ? paramIndex_ : PARAM_INDEX_NOT_INIT;
    }
    void setParamIndex(int index, int initVersion) {
        paramIndex_ = index;
        indexInitVersion_ = initVersion;
    }
    int getTmpPivotIndex() const { return tmpPivotIndex_; }
    void setTmpPivotIndex(int index) { tmpPivotIndex_ = index; }
    float getTmpT() const { return tmpT_; }
    void setTmpT(float t) { tmpT_ = t; }

private:
    int pivotCount_ = 0;
    ParamID* paramId_ = nullptr;     // interned, not owned
    float* pivotValues_ = nullptr;   // pivotCount_ entries, owned
    int paramIndex_ = PARAM_INDEX_NOT_INIT;
    int indexInitVersion_ = -1;
    int tmpPivotIndex_ = 0;
    float tmpT_ = 0;
};

}  // namespace mesh2d
