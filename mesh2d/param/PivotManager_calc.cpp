// The per-frame pivot search of a pivot manager.
#include "mesh2d/ModelContext.h"
#include "mesh2d/id/ParamID.h"
#include "mesh2d/param/ParamPivots.h"
#include "mesh2d/param/PivotManager.h"
#include "mesh2d/param/PivotMath.h"
#include "mesh2d/util/UtDebug.h"

namespace mesh2d {
namespace {

// The cached parameter index of a table, resolved again after each init.
int resolveParamIndex(ParamPivots* pivots, ModelContext* mdc) {
    int index = pivots->getParamIndex(mdc->getInitVersion());
    if (index == ParamPivots::PARAM_INDEX_NOT_INIT) {
        index = mdc->getParamIndex(pivots->getParamID());
        pivots->setParamIndex(index, mdc->getInitVersion());
    }
    return index;
}

}  // namespace

bool PivotManager::checkParamUpdated(ModelContext* mdc) {
    if (mdc->requireUpdateAll()) return true;
    for (int i = getParamPivotsCount() - 1; i >= 0; --i) {
        ParamPivots* pivots = getParamPivots(i);
        if (pivots == nullptr) continue;
        int index = pivots->getParamIndex(mdc->getInitVersion());
        if (index == ParamPivots::PARAM_INDEX_NOT_INIT) index = resolveParamIndex(pivots, mdc);
        if (mdc->isParamUpdated(index)) return true;
    }
    return false;
}

int PivotManager::calcPivotValue(ModelContext* mdc, bool* outOfRange) {
    int interpolating = 0;
    for (int i = 0; i < getParamPivotsCount(); ++i) {
        ParamPivots* pivots = getParamPivots(i);
        if (pivots == nullptr) return -1;
        const int index = resolveParamIndex(pivots, mdc);
        if (index < 0) {
            UtDebug::error("PivotManager#calcPivotValue() :tmpParamIndex < 0 %s",
                           pivots->getParamID() ? pivots->getParamID()->toChar() : "");
            return -1;
        }
        if (index >= mdc->getParamCount()) {
            UtDebug::error("out of range ModelDrawContext@getParamFloat()");
            return -1;
        }
        const PivotPosition p = locatePivot(mdc->getParamFloat(index), pivots->getPivotValues(),
                                            pivots->getPivotCount(), outOfRange);
        pivots->setTmpPivotIndex(p.index);
        pivots->setTmpT(p.weight);
        if (p.weight != 0.0f) ++interpolating;
    }
    return interpolating;
}

int PivotManager::calcPivotIndexies(unsigned short* pivotIndices, float* weights, int interpolatingCount) {
    const int wanted = interpolatingCount < 0 ? 0 : interpolatingCount;
    if (wanted > PIVOT_MAX_INTERPOLATING) {
        // The work area holds 64 combinations: the extra tables are held at
        // their lower pivot.
        UtDebug::print("=================================================");
        UtDebug::print("Over the interpolation buffer size :: %d", 1 << (wanted < 30 ? wanted : 30));
        UtDebug::print("please enlarge Mesh2D / PIVOT_TABLE_SIZE ");
        UtDebug::print("=================================================");
    }
    const int count = getParamPivotsCount();
    PivotTableState states[64];
    if (count > 64) {
        UtDebug::error("too many pivot tables (%d) @PivotManager#calcPivotIndexies()", count);
        return -1;
    }
    for (int i = 0; i < count; ++i) {
        ParamPivots* pivots = getParamPivots(i);
        if (pivots == nullptr) return -1;
        states[i] = {pivots->getTmpPivotIndex(), pivots->getTmpT(), pivots->getPivotCount()};
    }
    const int n = buildPivotCombinations(states, count, pivotIndices, weights);
    if (n < 0) {
        UtDebug::error("PivotManager#calcPivotIndexies()より前に tmpPivotIndexが適切に設定されていません");
    }
    return n;
}

}  // namespace mesh2d
