// The model-facing interpolation: locate the parameters among the pivot
// tables into the context's work area, then blend.
#include "mesh2d/ModelContext.h"
#include "mesh2d/param/PivotManager.h"
#include "mesh2d/util/UtInterpolate.h"

namespace mesh2d {
namespace {

// Fills the work area; returns the number of interpolating tables, or -1
// when the tables cannot be evaluated (the result is then out of range).
int prepare(ModelContext* mdc, PivotManager* pivotMgr, bool* outOfRange) {
    const int wanted = pivotMgr->calcPivotValue(mdc, outOfRange);
    if (wanted < 0) {
        *outOfRange = true;
        return -1;
    }
    const int n = pivotMgr->calcPivotIndexies(mdc->getTmpPivotTableIndices(), mdc->getTmpT(), wanted);
    if (n < 0) *outOfRange = true;
    return n;
}

}  // namespace

int UtInterpolate::interpolateInt(ModelContext* mdc, PivotManager* pivotMgr, bool* outOfRange, const int* values) {
    const int n = prepare(mdc, pivotMgr, outOfRange);
    if (n < 0 || values == nullptr) return 0;
    return blendInt(n, mdc->getTmpT(), mdc->getTmpPivotTableIndices(), values);
}

float UtInterpolate::interpolateFloat(ModelContext* mdc, PivotManager* pivotMgr, bool* outOfRange,
                                      const float* values) {
    const int n = prepare(mdc, pivotMgr, outOfRange);
    if (n < 0 || values == nullptr) return 0.0f;
    return blendFloat(n, mdc->getTmpT(), mdc->getTmpPivotTableIndices(), values);
}

void UtInterpolate::interpolatePoints(ModelContext* mdc, PivotManager* pivotMgr, bool* outOfRange, int pointCount,
                                      float* const* pointSets, float* dst, int offset, int stride) {
    const int n = prepare(mdc, pivotMgr, outOfRange);
    if (n < 0 || pointSets == nullptr || dst == nullptr) return;
    blendPoints(n, mdc->getTmpT(), mdc->getTmpPivotTableIndices(), pointSets, pointCount, dst, offset, stride);
}

}  // namespace mesh2d
