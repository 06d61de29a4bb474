#include "mesh2d/base/BDBoxGrid.h"

#include "mesh2d/param/PivotManager.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {

BDBoxGrid::~BDBoxGrid() {
    if (pivotPoints_) {
        for (int i = pivotPoints_->size() - 1; i >= 0; --i) {
            UtMemory::free((*pivotPoints_)[i]);
        }
        delete pivotPoints_;
    }
    delete pivotManager_;
}

void BDBoxGrid::read(BReader& br, MemoryParam* param) {
    readV2(br, param);
    row_ = br.readInt();  // the file stores rows before columns
    col_ = br.readInt();
    pivotManager_ = br.readSerializable<PivotManager>(param, expect::kPivotManager);
    pivotPoints_ = br.readObjectArray(param, expect::kPointSets);
    readPivotOpacities(br, param);
}

}  // namespace mesh2d
