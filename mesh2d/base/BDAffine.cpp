#include "mesh2d/base/BDAffine.h"

#include "mesh2d/base/AffineEnt.h"
#include "mesh2d/param/PivotManager.h"

namespace mesh2d {

BDAffine::~BDAffine() {
    if (affines_) {
        for (int i = affines_->size() - 1; i >= 0; --i) {
            delete getAffine(i);
        }
        delete affines_;
    }
    delete pivotManager_;
}

void BDAffine::read(BReader& br, MemoryParam* param) {
    readV2(br, param);
    pivotManager_ = br.readSerializable<PivotManager>(param, expect::kPivotManager);
    affines_ = br.readObjectArray(param, expect::kAffineStates);
    readPivotOpacities(br, param);
}

AffineEnt* BDAffine::getAffine(int combination) const {
    return static_cast<AffineEnt*>(static_cast<ISerializableV2*>((*affines_)[combination]));
}

}  // namespace mesh2d
