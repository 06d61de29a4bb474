#pragma once
// Per-model run-time state of one deformer.
#include "mesh2d/memory/LDObject.h"

namespace mesh2d {

class IBaseData;

class IBaseContext : public LDObject {
public:
    explicit IBaseContext(IBaseData* src) : src_(src) {}
    ~IBaseContext() override = default;

    IBaseData* getSrcPtr() const { return src_; }
    int getPartsIndex() const { return partsIndex_; }
    void setPartsIndex(int index) { partsIndex_ = index; }
    bool isOutsideParam() const { return outsideParam_; }
    void setOutsideParam(bool outside) { outsideParam_ = outside; }
    bool isAvailable() const { return available_; }
    void setAvailable(bool available) { available_ = available; }
    float getTotalScale() const { return totalScale_; }
    void setTotalScale(float scale) { totalScale_ = scale; }
    float getInterpolatedOpacity() const { return interpolatedOpacity_; }
    void setInterpolatedOpacity(float opacity) { interpolatedOpacity_ = opacity; }
    float getTotalOpacity() const { return totalOpacity_; }
    void setTotalOpacity(float opacity) { totalOpacity_ = opacity; }
    // True for the frame when a grid deformer in this deformer's chain (itself
    // included) left its grid untransformed: what this deformer maps points to
    // is then not valid. Being unavailable for any other reason (a parent out
    // of range) leaves the mapping valid.
    bool isTransformSkipped() const { return transformSkipped_; }
    void setTransformSkipped(bool skipped) { transformSkipped_ = skipped; }

private:
    IBaseData* src_;
    int partsIndex_ = 0;
    bool outsideParam_ = false;
    bool available_ = true;
    bool transformSkipped_ = false;
    float totalScale_ = 1.0f;
    float interpolatedOpacity_ = 1.0f;
    float totalOpacity_ = 1.0f;
};

}  // namespace mesh2d
