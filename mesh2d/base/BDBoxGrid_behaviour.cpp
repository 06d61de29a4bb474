// Per-frame behaviour of the warp-grid deformer.
#include <cstring>

#include "mesh2d/ModelContext.h"
#include "mesh2d/base/BDBoxGrid.h"
#include "mesh2d/base/BDBoxGridContext.h"
#include "mesh2d/base/DeformMath.h"
#include "mesh2d/base/DeformerParent.h"
#include "mesh2d/id/BaseDataID.h"
#include "mesh2d/memory/MemoryParam.h"
#include "mesh2d/param/PivotManager.h"
#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtInterpolate.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {
namespace {

BDBoxGridContext* ownContext(BDBoxGrid* self, IBaseContext* cdata) {
    if (cdata == nullptr || cdata->getSrcPtr() != self) {
        UtDebug::error("context of another deformer @BDBoxGrid");
        return nullptr;
    }
    return static_cast<BDBoxGridContext*>(cdata);
}

// A zero-filled grid array, so a grid that was never computed maps to
// points rather than to leftover bytes.
float* newGrid(MemoryParam* param, int floats) {
    const size_t bytes = sizeof(float) * static_cast<size_t>(floats);
    auto* p = static_cast<float*>(LD_MALLOC(param, bytes));
    if (p) std::memset(p, 0, bytes);
    return p;
}

}  // namespace

IBaseContext* BDBoxGrid::createContext(ModelContext* mdc) {
    MemoryParam* param = mdc->getMemoryParam();
    BDBoxGridContext* ctx = LD_NEW(param) BDBoxGridContext(this);
    if (ctx == nullptr) return nullptr;
    const int floats = getGridPointCount() * 2;
    ctx->interpolatedPoints = newGrid(param, floats);
    if (hasParent()) ctx->transformedPoints = newGrid(param, floats);
    return ctx;
}

void BDBoxGrid::interpolate(ModelContext* mdc, IBaseContext* cdata) {
    BDBoxGridContext* ctx = ownContext(this, cdata);
    if (ctx == nullptr || ctx->interpolatedPoints == nullptr || pivotPoints_ == nullptr) return;
    if (!pivotManager_ || !pivotManager_->checkParamUpdated(mdc)) return;

    bool outOfRange = false;
    const int n = preparePivots(mdc, pivotManager_, &outOfRange);
    ctx->setOutsideParam(outOfRange);
    if (n < 0) return;
    const unsigned short* e = mdc->getTmpPivotTableIndices();
    const float* t = mdc->getTmpT();
    LDVector<float>* opacities = getPivotOpacities();
    const bool withOpacities = opacities != nullptr && opacities->size() > 0;
    for (int k = 0; k < (1 << n); ++k) {
        if (e[k] >= getPivotPointsCount() || (withOpacities && e[k] >= opacities->size())) {
            ctx->setOutsideParam(true);
            return;
        }
    }
    UtInterpolate::blendPoints(n, t, e, reinterpret_cast<float* const*>(pivotPoints_->data()), getGridPointCount(),
                               ctx->interpolatedPoints, 0, 2);
    ctx->setInterpolatedOpacity(withOpacities ? UtInterpolate::blendFloat(n, t, e, opacities->data()) : 1.0f);
}

void BDBoxGrid::applyParent(ModelContext* mdc, IBaseContext* cdata) {
    BDBoxGridContext* ctx = ownContext(this, cdata);
    if (ctx == nullptr) return;
    ctx->setAvailable(true);
    ctx->setTransformSkipped(false);
    if (!hasParent() || ctx->transformedPoints == nullptr) {
        ctx->setTotalOpacity(ctx->getInterpolatedOpacity());
        return;
    }
    IBaseContext* pctx = nullptr;
    IBaseData* parent = findParent(mdc, getTargetBaseDataID(), &ctx->tmpBaseDataIndex,
                                   "Target baseData[%s] is not available.", &pctx);
    if (parent == nullptr || !pctx->isAvailable() || pctx->isOutsideParam()) {
        // The transformed grid keeps whatever an earlier frame left in it.
        ctx->setAvailable(false);
        ctx->setTransformSkipped(true);
        return;
    }
    ctx->setTransformSkipped(pctx->isTransformSkipped());
    ctx->setTotalScale(pctx->getTotalScale());
    ctx->setTotalOpacity(ctx->getInterpolatedOpacity() * pctx->getTotalOpacity());
    parent->transformPoints(mdc, pctx, ctx->interpolatedPoints, ctx->transformedPoints, getGridPointCount(), 0, 2);
}

void BDBoxGrid::transformPoints(ModelContext*, IBaseContext* cdata, float* srcPoints, float* dstPoints, int numPoint,
                                int ptOffset, int ptStep) {
    BDBoxGridContext* ctx = ownContext(this, cdata);
    if (ctx == nullptr) return;
    const float* grid = ctx->transformedPoints ? ctx->transformedPoints : ctx->interpolatedPoints;
    mapGrid(grid, col_, row_, srcPoints, dstPoints, numPoint, ptOffset, ptStep);
}

void BDBoxGrid::dump() {
    UtDebug::print("    BDBoxGrid [ %s ]", getBaseDataID() ? getBaseDataID()->toChar() : "");
}

}  // namespace mesh2d
