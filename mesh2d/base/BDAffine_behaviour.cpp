// Per-frame behaviour of the affine deformer.
#include <cmath>

#include "mesh2d/ModelContext.h"
#include "mesh2d/base/AffineEnt.h"
#include "mesh2d/base/BDAffine.h"
#include "mesh2d/base/BDAffineContext.h"
#include "mesh2d/base/DeformMath.h"
#include "mesh2d/base/DeformerParent.h"
#include "mesh2d/id/BaseDataID.h"
#include "mesh2d/memory/MemoryParam.h"
#include "mesh2d/param/PivotManager.h"
#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtInterpolate.h"

namespace mesh2d {
namespace {

const unsigned short kIdentityOrder[PIVOT_TABLE_SIZE] = {
    0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
    22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43,
    44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63};

BDAffineContext* ownContext(BDAffine* self, IBaseContext* cdata) {
    if (cdata == nullptr || cdata->getSrcPtr() != self) {
        UtDebug::error("context of another deformer @BDAffine");
        return nullptr;
    }
    return static_cast<BDAffineContext*>(cdata);
}

// The parent maps one point.
void mapPoint(ModelContext* mdc, IBaseData* parent, IBaseContext* pctx, float x, float y, float out[2]) {
    float p[2] = {x, y};
    parent->transformPoints(mdc, pctx, p, out, 1, 0, 2);
}

}  // namespace

IBaseContext* BDAffine::createContext(ModelContext* mdc) {
    MemoryParam* param = mdc->getMemoryParam();
    BDAffineContext* ctx = LD_NEW(param) BDAffineContext(this);
    if (ctx == nullptr) return nullptr;
    ctx->interpolatedAffine = LD_NEW(param) AffineEnt();
    if (hasParent()) ctx->transformedAffine = LD_NEW(param) AffineEnt();
    return ctx;
}

void BDAffine::interpolate(ModelContext* mdc, IBaseContext* cdata) {
    BDAffineContext* ctx = ownContext(this, cdata);
    if (ctx == nullptr || ctx->interpolatedAffine == nullptr) return;
    if (!pivotManager_ || !pivotManager_->checkParamUpdated(mdc)) return;

    bool outOfRange = false;
    const int n = preparePivots(mdc, pivotManager_, &outOfRange);
    ctx->setOutsideParam(outOfRange);
    if (n < 0) return;
    const unsigned short* e = mdc->getTmpPivotTableIndices();
    const float* t = mdc->getTmpT();
    const int size = 1 << n;

    // Gather the five numbers of the selected combinations, then blend each.
    float ox[PIVOT_TABLE_SIZE], oy[PIVOT_TABLE_SIZE], sx[PIVOT_TABLE_SIZE], sy[PIVOT_TABLE_SIZE], rot[PIVOT_TABLE_SIZE];
    for (int k = 0; k < size; ++k) {
        const AffineEnt* a = e[k] < getAffineCount() ? getAffine(e[k]) : nullptr;
        if (a == nullptr) {
            ctx->setOutsideParam(true);
            return;
        }
        ox[k] = a->originX;
        oy[k] = a->originY;
        sx[k] = a->scaleX;
        sy[k] = a->scaleY;
        rot[k] = a->rotationDeg;
    }
    AffineEnt* dst = ctx->interpolatedAffine;
    dst->originX = UtInterpolate::blendFloat(n, t, kIdentityOrder, ox);
    dst->originY = UtInterpolate::blendFloat(n, t, kIdentityOrder, oy);
    dst->scaleX = UtInterpolate::blendFloat(n, t, kIdentityOrder, sx);
    dst->scaleY = UtInterpolate::blendFloat(n, t, kIdentityOrder, sy);
    dst->rotationDeg = UtInterpolate::blendFloat(n, t, kIdentityOrder, rot);
    // Mirroring is not blended: it follows the first named combination.
    const AffineEnt* first = getAffine(e[0]);
    dst->reflectX = first->reflectX;
    dst->reflectY = first->reflectY;

    LDVector<float>* opacities = getPivotOpacities();
    if (opacities == nullptr || opacities->size() == 0) {
        ctx->setInterpolatedOpacity(1.0f);
    } else {
        for (int k = 0; k < size; ++k) {
            if (e[k] >= opacities->size()) {
                ctx->setOutsideParam(true);
                return;
            }
        }
        ctx->setInterpolatedOpacity(UtInterpolate::blendFloat(n, t, e, opacities->data()));
    }
}

void BDAffine::applyParent(ModelContext* mdc, IBaseContext* cdata) {
    BDAffineContext* ctx = ownContext(this, cdata);
    if (ctx == nullptr || ctx->interpolatedAffine == nullptr) return;
    ctx->setAvailable(true);
    ctx->setTransformSkipped(false);
    const AffineEnt* src = ctx->interpolatedAffine;
    if (!hasParent() || ctx->transformedAffine == nullptr) {
        ctx->setTotalScale(src->scaleX);
        ctx->setTotalOpacity(ctx->getInterpolatedOpacity());
        return;
    }
    IBaseContext* pctx = nullptr;
    IBaseData* parent = findParent(mdc, getTargetBaseDataID(), &ctx->tmpBaseDataIndex,
                                   "Target BaseData[%s] is not available", &pctx);
    if (parent == nullptr) {
        // Nothing was transformed: the transformed state is not valid either.
        ctx->setAvailable(false);
        ctx->setTransformSkipped(true);
        return;
    }

    // Where does a short step "up" from the origin end in the parent's space?
    // That direction gives the rotation the parent adds.
    const float dy = parent->getType() == TYPE_BD_AFFINE ? -10.0f : -0.1f;
    float origin[2];
    mapPoint(mdc, parent, pctx, src->originX, src->originY, origin);
    float image[2] = {0.0f, 0.0f};
    float s = 1.0f;
    bool found = false;
    for (int i = 0; i < 10 && !found; ++i, s *= 0.1f) {
        float p[2];
        mapPoint(mdc, parent, pctx, src->originX, src->originY + s * dy, p);
        if (p[0] != origin[0] || p[1] != origin[1]) {
            image[0] = p[0] - origin[0];
            image[1] = p[1] - origin[1];
            found = true;
            break;
        }
        mapPoint(mdc, parent, pctx, src->originX, src->originY - s * dy, p);
        if (p[0] != origin[0] || p[1] != origin[1]) {
            image[0] = origin[0] - p[0];
            image[1] = origin[1] - p[1];
            found = true;
        }
    }
    if (!found) UtDebug::dump("failed to transform BDAffine\xEF\xBC\xBCn");

    double delta = std::atan2(static_cast<double>(dy), 0.0) -
                   std::atan2(static_cast<double>(image[1]), static_cast<double>(image[0]));
    const double pi = 3.141592653589793;
    while (delta < -pi) delta += 2 * pi;
    while (delta > pi) delta -= 2 * pi;

    AffineEnt* dst = ctx->transformedAffine;
    dst->originX = origin[0];
    dst->originY = origin[1];
    dst->scaleX = src->scaleX;
    dst->scaleY = src->scaleY;
    dst->rotationDeg = src->rotationDeg - static_cast<float>(delta * 57.29578);
    dst->reflectX = src->reflectX;
    dst->reflectY = src->reflectY;

    ctx->setTotalScale(pctx->getTotalScale() * src->scaleX);
    ctx->setTotalOpacity(pctx->getTotalOpacity() * ctx->getInterpolatedOpacity());
    ctx->setAvailable(pctx->isAvailable() && !pctx->isOutsideParam());
    ctx->setTransformSkipped(pctx->isTransformSkipped());
}

void BDAffine::transformPoints(ModelContext*, IBaseContext* cdata, float* srcPoints, float* dstPoints, int numPoint,
                               int ptOffset, int ptStep) {
    BDAffineContext* ctx = ownContext(this, cdata);
    if (ctx == nullptr) return;
    const AffineEnt* s = ctx->transformedAffine ? ctx->transformedAffine : ctx->interpolatedAffine;
    if (s == nullptr) return;
    AffineMapping m{s->originX, s->originY, s->rotationDeg, ctx->getTotalScale(), s->reflectX, s->reflectY};
    mapAffine(m, srcPoints, dstPoints, numPoint, ptOffset, ptStep);
}

void BDAffine::dump() {
    UtDebug::print("    BDAffine [ %s ]", getBaseDataID() ? getBaseDataID()->toChar() : "");
}

}  // namespace mesh2d
