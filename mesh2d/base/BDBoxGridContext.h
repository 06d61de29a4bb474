#pragma once
// Run-time state of a BDBoxGrid: the blended grid and, under a parent, the
// grid carried into the parent's space.
#include "mesh2d/base/IBaseContext.h"

namespace mesh2d {

class BDBoxGrid;

class BDBoxGridContext : public IBaseContext {
public:
    explicit BDBoxGridContext(BDBoxGrid* src);
    ~BDBoxGridContext() override;

    int tmpBaseDataIndex = -2;
    float* interpolatedPoints = nullptr;  // (columns + 1) × (rows + 1) × 2, zero-filled
    float* transformedPoints = nullptr;   // same size; only under a parent
};

}  // namespace mesh2d
