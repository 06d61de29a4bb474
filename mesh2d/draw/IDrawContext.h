#pragma once
// Per-model run-time state of one drawable.
#include "mesh2d/memory/LDObject.h"

namespace mesh2d {

class IDrawData;

class IDrawContext : public LDObject {
public:
    explicit IDrawContext(IDrawData* src) : srcPtr_(src) {}
    ~IDrawContext() override = default;

    IDrawData* getSrcPtr() const { return srcPtr_; }
    int getPartsIndex() const { return partsIndex_; }
    void setPartsIndex(int index) { partsIndex_ = index; }
    bool isAvailable() const { return available_; }
    void setAvailable(bool available) { available_ = available; }

    int drawOrder = 0;
    float interpolatedOpacity = 1.0f;
    bool outsideParam = false;
    float partsOpacity = 1.0f;  // copied from the owning part just before drawing
    float baseOpacity = 1.0f;   // the parent deformer's total opacity

private:
    bool available_ = true;
    IDrawData* srcPtr_;
    int partsIndex_ = 0;
};

}  // namespace mesh2d
