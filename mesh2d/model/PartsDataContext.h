#pragma once
// Run-time state of one part: its opacity (1 when the file marks it visible,
// else 0, until the host changes it).
#include "mesh2d/memory/LDObject.h"

namespace mesh2d {

class PartsData;

class PartsDataContext : public LDObject {
public:
    explicit PartsDataContext(PartsData* src);
    ~PartsDataContext() override = default;

    float getPartsOpacity() const { return partsOpacity_; }
    void setPartsOpacity(float opacity) { partsOpacity_ = opacity; }
    PartsData* getSrcPtr() const { return srcPtr_; }

private:
    float partsOpacity_;
    PartsData* srcPtr_;
};

}  // namespace mesh2d
