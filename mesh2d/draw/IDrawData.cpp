#include "mesh2d/draw/IDrawData.h"

#include <cstdio>

#include "mesh2d/id/BaseDataID.h"
#include "mesh2d/id/DrawDataID.h"
#include "mesh2d/io/BReader.h"
#include "mesh2d/param/PivotManager.h"

namespace mesh2d {
namespace {

int g_totalMinOrder = IDrawData::DEFAULT_ORDER;
int g_totalMaxOrder = IDrawData::DEFAULT_ORDER;

int clampOrder(int order) {
    if (order < IDrawData::MIN_DRAW_ORDER) return IDrawData::MIN_DRAW_ORDER;
    if (order > IDrawData::MAX_DRAW_ORDER) return IDrawData::MAX_DRAW_ORDER;
    return order;
}

}  // namespace

IDrawData::~IDrawData() {
    delete pivotManager_;
    delete pivotDrawOrders_;
    delete pivotOpacities_;
}

void IDrawData::read(BReader& br, MemoryParam* param) {
    drawDataId_ = static_cast<DrawDataID*>(br.readObject(param, expect::kDrawId));
    targetBaseDataId_ = static_cast<BaseDataID*>(br.readObject(param, expect::kParentId));
    pivotManager_ = br.readSerializable<PivotManager>(param, expect::kPivotManager);
    averageDrawOrder_ = br.readInt();
    pivotDrawOrders_ = br.readVectorInt(param);
    pivotOpacities_ = br.readVectorFloat(param);
    // The draw-order range is widened by the loader once the whole model is accepted.
}

int IDrawData::getType() const {
    std::printf("Must override , IDrawData::getType()\n");
    return 0;
}

bool IDrawData::hasParent() const {
    return targetBaseDataId_ && !(targetBaseDataId_->getName() == "DST_BASE");
}

int IDrawData::getTotalMinOrder() { return g_totalMinOrder; }
int IDrawData::getTotalMaxOrder() { return g_totalMaxOrder; }

void IDrawData::widenTotalOrder(int minOrder, int maxOrder) {
    minOrder = clampOrder(minOrder);
    maxOrder = clampOrder(maxOrder);
    if (minOrder < g_totalMinOrder) g_totalMinOrder = minOrder;
    if (maxOrder > g_totalMaxOrder) g_totalMaxOrder = maxOrder;
}

}  // namespace mesh2d
