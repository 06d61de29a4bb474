// Per-frame behaviour of the textured mesh.
#include <cstring>

#include "mesh2d/ModelContext.h"
#include "mesh2d/base/DeformerParent.h"
#include "mesh2d/base/IBaseContext.h"
#include "mesh2d/base/IBaseData.h"
#include "mesh2d/draw/DDTexture.h"
#include "mesh2d/draw/DDTextureContext.h"
#include "mesh2d/draw/DrawParam.h"
#include "mesh2d/id/DrawDataID.h"
#include "mesh2d/memory/MemoryParam.h"
#include "mesh2d/param/PivotManager.h"
#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtInterpolate.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {
namespace {

DDTextureContext* ownContext(DDTexture* self, IDrawContext* cdata) {
    if (cdata == nullptr || cdata->getSrcPtr() != self) {
        UtDebug::error("context of another drawable @DDTexture");
        return nullptr;
    }
    return static_cast<DDTextureContext*>(cdata);
}

// Point arrays are handed to GL as client arrays: they come from the GPU
// holder, zero-filled so a mesh never draws leftover bytes.
float* newPointArray(MemoryParam* param, int points) {
    const size_t bytes = sizeof(float) * 2 * static_cast<size_t>(points > 0 ? points : 1);
    const int previous = param->setAllocType(1);
    auto* p = static_cast<float*>(LD_MALLOC(param, bytes));
    param->setAllocType(previous);
    if (p) std::memset(p, 0, bytes);
    return p;
}

bool combinationsFit(const unsigned short* e, int n, int limit) {
    for (int k = 0; k < (1 << n); ++k) {
        if (e[k] >= limit) return false;
    }
    return true;
}

}  // namespace

DDTextureContext::DDTextureContext(DDTexture* src) : IDrawContext(src) {}

DDTextureContext::~DDTextureContext() {
    LD_FREE(interpolatedPoints);
    LD_FREE(transformedPoints);
}

IDrawContext* DDTexture::createContext(ModelContext* mdc) {
    MemoryParam* param = mdc->getMemoryParam();
    DDTextureContext* ctx = LD_NEW(param) DDTextureContext(this);
    if (ctx == nullptr) return nullptr;
    ctx->interpolatedPoints = newPointArray(param, numPts_);
    if (hasParent()) ctx->transformedPoints = newPointArray(param, numPts_);
    ctx->drawPoints = hasParent() ? ctx->transformedPoints : ctx->interpolatedPoints;
    return ctx;
}

void DDTexture::interpolate(ModelContext* mdc, IDrawContext* cdata) {
    DDTextureContext* ctx = ownContext(this, cdata);
    if (ctx == nullptr) return;
    PivotManager* pm = getPivotManager();
    if (pm == nullptr || !pm->checkParamUpdated(mdc)) {
        if (ctx->notUpdateCount < 255) ++ctx->notUpdateCount;
        return;
    }
    ctx->notUpdateCount = 0;

    bool outOfRange = false;
    const int n = preparePivots(mdc, pm, &outOfRange);
    LDVector<int>* orders = getPivotDrawOrders();
    LDVector<float>* opacities = getPivotOpacities();
    if (n < 0 || !orders || !opacities || !pivotPoints_ || !ctx->interpolatedPoints ||
        !combinationsFit(mdc->getTmpPivotTableIndices(), n, orders->size()) ||
        !combinationsFit(mdc->getTmpPivotTableIndices(), n, opacities->size()) ||
        !combinationsFit(mdc->getTmpPivotTableIndices(), n, getPivotPointsCount())) {
        ctx->outsideParam = true;
        return;
    }
    const unsigned short* e = mdc->getTmpPivotTableIndices();
    const float* t = mdc->getTmpT();
    ctx->outsideParam = outOfRange;
    ctx->drawOrder = UtInterpolate::blendInt(n, t, e, orders->data());
    if (outOfRange) return;
    ctx->interpolatedOpacity = UtInterpolate::blendFloat(n, t, e, opacities->data());
    UtInterpolate::blendPoints(n, t, e, reinterpret_cast<float* const*>(pivotPoints_->data()), numPts_,
                               ctx->interpolatedPoints, 0, 2);
}

void DDTexture::applyParent(ModelContext* mdc, IDrawContext* cdata) {
    DDTextureContext* ctx = ownContext(this, cdata);
    if (ctx == nullptr || ctx->outsideParam) return;
    if (hasParent()) {
        IBaseContext* pctx = nullptr;
        IBaseData* parent = findParent(mdc, getTargetBaseDataID(), &ctx->tmpBaseDataIndex,
                                       "Target BaseData[%s] is not available.", &pctx);
        if (parent == nullptr) {
            // Without a parent the transformed points are never computed.
            ctx->setAvailable(false);
        } else {
            // A parent in range is drawn through even when it is unavailable
            // (its own parent is out of range): its mapping is still computed.
            // Only a grid in the chain that skipped its transform leaves the
            // mapping stale, and then the mesh is not drawn.
            if (!pctx->isOutsideParam() && !pctx->isTransformSkipped() && ctx->transformedPoints) {
                parent->transformPoints(mdc, pctx, ctx->interpolatedPoints, ctx->transformedPoints, numPts_, 0, 2);
                ctx->setAvailable(true);
            } else {
                ctx->setAvailable(false);
            }
            ctx->baseOpacity = pctx->getTotalOpacity();
        }
    }
    ctx->drawPoints = hasParent() ? ctx->transformedPoints : ctx->interpolatedPoints;
}

void DDTexture::draw(DrawParam* dp, ModelContext*, IDrawContext* cdata) {
    DDTextureContext* ctx = ownContext(this, cdata);
    if (ctx == nullptr || ctx->outsideParam || dp == nullptr || ctx->drawPoints == nullptr) return;
    if (textureNo_ < 0) textureNo_ = 1;
    dp->setCulling(culling_);
    const float opacity = ctx->baseOpacity * (ctx->interpolatedOpacity * ctx->partsOpacity);
    dp->drawTexture(textureNo_, 3 * numPolygons_, numPts_, indexArray_, ctx->drawPoints, uvmap_, opacity,
                    colorCompositionType_);
}

void DDTexture::dump() {
    UtDebug::print("    DDTexture [ %s ]", getDrawDataID() ? getDrawDataID()->toChar() : "");
}

}  // namespace mesh2d
