#pragma once
// Run-time state of a BDAffine: the blended state and, under a parent, the
// state carried into the parent's space.
#include "mesh2d/base/AffineEnt.h"
#include "mesh2d/base/IBaseContext.h"

namespace mesh2d {

class BDAffine;

class BDAffineContext : public IBaseContext {
public:
    explicit BDAffineContext(BDAffine* src);
    ~BDAffineContext() override;

    int tmpBaseDataIndex = -2;               // parent's index, -2 until resolved
    AffineEnt* interpolatedAffine = nullptr;  // owned
    AffineEnt* transformedAffine = nullptr;   // owned; only under a parent
};

}  // namespace mesh2d
