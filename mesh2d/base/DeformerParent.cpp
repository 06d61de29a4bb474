#include "mesh2d/base/DeformerParent.h"

#include "mesh2d/ModelContext.h"
#include "mesh2d/base/IBaseContext.h"
#include "mesh2d/base/IBaseData.h"
#include "mesh2d/id/BaseDataID.h"
#include "mesh2d/param/PivotManager.h"
#include "mesh2d/util/UtDebug.h"

namespace mesh2d {

int preparePivots(ModelContext* mdc, PivotManager* pivotMgr, bool* outOfRange) {
    if (pivotMgr == nullptr) {
        *outOfRange = true;
        return -1;
    }
    const int wanted = pivotMgr->calcPivotValue(mdc, outOfRange);
    const int n = wanted < 0 ? -1
                             : pivotMgr->calcPivotIndexies(mdc->getTmpPivotTableIndices(), mdc->getTmpT(), wanted);
    if (n < 0) *outOfRange = true;
    return n;
}

IBaseData* findParent(ModelContext* mdc, BaseDataID* parentId, int* cachedIndex, const char* missingFormat,
                      IBaseContext** parentContext) {
    *parentContext = nullptr;
    if (*cachedIndex == -2) {
        *cachedIndex = mdc->getBaseDataIndex(parentId);
        if (*cachedIndex < 0) UtDebug::error(missingFormat, parentId ? parentId->toChar() : "");
    }
    if (*cachedIndex < 0) return nullptr;
    if (*cachedIndex >= mdc->getBaseDataCount()) {
        UtDebug::error("out of range ModelDrawContext@getBaseData()");
        return nullptr;
    }
    IBaseData* parent = mdc->getBaseData(*cachedIndex);
    IBaseContext* context = mdc->getBaseContext(*cachedIndex);
    if (parent == nullptr || context == nullptr) return nullptr;
    *parentContext = context;
    return parent;
}

}  // namespace mesh2d
