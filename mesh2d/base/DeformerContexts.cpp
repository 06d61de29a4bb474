#include "mesh2d/base/BDAffine.h"
#include "mesh2d/base/BDAffineContext.h"
#include "mesh2d/base/BDBoxGrid.h"
#include "mesh2d/base/BDBoxGridContext.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {

BDAffineContext::BDAffineContext(BDAffine* src) : IBaseContext(src) {}

BDAffineContext::~BDAffineContext() {
    delete interpolatedAffine;
    delete transformedAffine;
}

BDBoxGridContext::BDBoxGridContext(BDBoxGrid* src) : IBaseContext(src) {}

BDBoxGridContext::~BDBoxGridContext() {
    LD_FREE(interpolatedPoints);
    LD_FREE(transformedPoints);
}

}  // namespace mesh2d
