#include "mesh2d/param/PivotManager.h"

#include "mesh2d/param/ParamPivots.h"

namespace mesh2d {

PivotManager::~PivotManager() {
    if (!paramPivotTable_) {
        return;
    }
    for (int i = paramPivotTable_->size() - 1; i >= 0; --i) {
        delete getParamPivots(i);
    }
    delete paramPivotTable_;
}

void PivotManager::read(BReader& br, MemoryParam* param) {
    paramPivotTable_ = br.readObjectArray(param, expect::kPivotTable);
}

ParamPivots* PivotManager::getParamPivots(int index) const {
    return static_cast<ParamPivots*>(static_cast<ISerializableV2*>((*paramPivotTable_)[index]));
}

long long PivotManager::getCombinationCount() const {
    long long product = 1;
    for (int i = 0; i < getParamPivotsCount(); ++i) {
        const ParamPivots* pivots = getParamPivots(i);
        const long long count = pivots ? pivots->getPivotCount() : 0;
        if (count <= 0) {
            return 0;
        }
        product *= count;
        if (product > 0x7FFFFFFF) {
            return product;  // already beyond any limit; stop before overflowing
        }
    }
    return product;
}

}  // namespace mesh2d
