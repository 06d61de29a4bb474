#include "live2d/base/BDAffine.h"
#include "live2d/base/BDAffineContext.h"
#include "live2d/base/BDBoxGrid.h"
#include "live2d/base/BDBoxGridContext.h"
#include "live2d/util/UtMemory.h"

namespace live2d {

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

}  // namespace live2d
