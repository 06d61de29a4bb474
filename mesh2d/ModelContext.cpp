// Building the run-time lists from the model data, and the per-frame update
// and draw with draw-order buckets.
#include "mesh2d/ModelContext.h"

#include "mesh2d/AMesh2DModel.h"
#include "mesh2d/base/IBaseContext.h"
#include "mesh2d/base/IBaseData.h"
#include "mesh2d/draw/DrawParam.h"
#include "mesh2d/draw/IDrawContext.h"
#include "mesh2d/draw/IDrawData.h"
#include "mesh2d/id/BaseDataID.h"
#include "mesh2d/id/DrawDataID.h"
#include "mesh2d/id/PartsDataID.h"
#include "mesh2d/memory/MemoryParam.h"
#include "mesh2d/memory/fixed/MemoryHolderFixed.h"
#include "mesh2d/model/ModelImpl.h"
#include "mesh2d/model/PartsData.h"
#include "mesh2d/model/PartsDataContext.h"
#include "mesh2d/param/ParamDefFloat.h"
#include "mesh2d/param/ParamDefSet.h"
#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {

ModelContext::ModelContext(AMesh2DModel* model) : model_(model) {
    memoryHolderFixedMain_ = new MemoryHolderFixed(0, "ModelContext", UtMemory::DEFAULT_PAGE_SIZE);
    memoryHolderFixedGPU_ = new MemoryHolderFixed(1, "ModelContext-GPU", UtMemory::DEFAULT_PAGE_SIZE);
    if (memoryHolderFixedMain_ && memoryHolderFixedGPU_) {
        memoryParam_ = new MemoryParam(memoryHolderFixedMain_, memoryHolderFixedGPU_);
    }
    for (auto& e : tmpPivotTableIndices_) e = NOT_USED_ORDER;
    for (auto& t : tmpT_) t = -1.0f;
    if (memoryParam_) createStore();
}

ModelContext::~ModelContext() {
    release();
    delete paramIds_;
    delete values_;
    delete lastValues_;
    delete mins_;
    delete maxs_;
    delete spare_;
    delete updated_;
    delete memoryParam_;
    delete memoryHolderFixedMain_;
    delete memoryHolderFixedGPU_;
}

// Deletes every context (last to first) and the run-time lists.
void ModelContext::release() {
    auto deleteAll = [](auto*& list) {
        if (!list) return;
        for (int i = list->size() - 1; i >= 0; --i) delete (*list)[i];
        delete list;
        list = nullptr;
    };
    deleteAll(baseContextList_);
    deleteAll(drawContextList_);
    deleteAll(partsContextList_);
    delete baseDataList_;
    delete drawDataList_;
    delete partsDataList_;
    delete orderFirst_;
    delete orderLast_;
    delete nextList_;
    baseDataList_ = nullptr;
    drawDataList_ = nullptr;
    partsDataList_ = nullptr;
    orderFirst_ = orderLast_ = nextList_ = nullptr;
}

// Parents before children: a deformer is taken once it has no parent or its
// parent was taken; passes repeat while one takes something. Deformers whose
// parent never appears are left out (and so never updated or drawn through).
bool ModelContext::orderDeformers(LDVector<IBaseData*>& all, LDVector<IBaseContext*>& contexts) {
    const int count = all.size();
    LDVector<char> taken(UtMemory::getTmpMemoryParam(), count > 0 ? count : 1, count, true);
    bool progress = true;
    while (progress) {
        progress = false;
        for (int i = 0; i < count; ++i) {
            if (taken[i]) continue;
            IBaseData* bd = all[i];
            if (bd->hasParent() && getBaseDataIndex(bd->getTargetBaseDataID()) < 0) continue;
            if (!baseDataList_->push_back(bd) || !baseContextList_->push_back(contexts[i])) return false;
            taken[i] = 1;
            progress = true;
        }
    }
    // Contexts of deformers left out are not in the ordered list: delete them here.
    for (int i = 0; i < count; ++i) {
        if (!taken[i]) delete contexts[i];
    }
    return true;
}

void ModelContext::init() {
    if (!memoryParam_) return;
    ++initVersion_;
    release();
    ModelImpl* impl = model_ ? model_->getModelImpl() : nullptr;

    baseDataList_ = LD_NEW(memoryParam_) LDVector<IBaseData*>(memoryParam_, 100);
    baseContextList_ = LD_NEW(memoryParam_) LDVector<IBaseContext*>(memoryParam_, 100);
    drawDataList_ = LD_NEW(memoryParam_) LDVector<IDrawData*>(memoryParam_, 100);
    drawContextList_ = LD_NEW(memoryParam_) LDVector<IDrawContext*>(memoryParam_, 100);
    partsDataList_ = LD_NEW(memoryParam_) LDVector<PartsData*>(memoryParam_, 16);
    partsContextList_ = LD_NEW(memoryParam_) LDVector<PartsDataContext*>(memoryParam_, 16);
    orderFirst_ = LD_NEW(memoryParam_) LDVector<unsigned short>(memoryParam_, 8);
    orderLast_ = LD_NEW(memoryParam_) LDVector<unsigned short>(memoryParam_, 8);
    nextList_ = LD_NEW(memoryParam_) LDVector<unsigned short>(memoryParam_, 100);
    if (!baseDataList_ || !baseContextList_ || !drawDataList_ || !drawContextList_ || !partsDataList_ ||
        !partsContextList_ || !orderFirst_ || !orderLast_ || !nextList_) {
        UtDebug::error("out of memory @ModelContext#init()");
        return;
    }

    LDVector<IBaseData*> allDeformers(UtMemory::getTmpMemoryParam(), 100);
    LDVector<IBaseContext*> allContexts(UtMemory::getTmpMemoryParam(), 400);
    const int partCount = impl ? impl->getPartsDataCount() : 0;
    for (int i = 0; i < partCount; ++i) {
        PartsData* part = impl->getPartsData(i);
        if (part == nullptr) continue;
        partsDataList_->push_back(part);
        partsContextList_->push_back(LD_NEW(memoryParam_) PartsDataContext(part));
        for (int j = 0; j < part->getBaseDataCount(); ++j) {
            IBaseData* bd = part->getBaseData(j);
            IBaseContext* ctx = bd ? bd->createContext(this) : nullptr;
            if (ctx == nullptr) continue;
            ctx->setPartsIndex(partsDataList_->size() - 1);
            allDeformers.push_back(bd);
            allContexts.push_back(ctx);
        }
        for (int j = 0; j < part->getDrawDataCount(); ++j) {
            IDrawData* dd = part->getDrawData(j);
            IDrawContext* ctx = dd ? dd->createContext(this) : nullptr;
            if (ctx == nullptr) continue;
            ctx->setPartsIndex(partsDataList_->size() - 1);
            drawDataList_->push_back(dd);
            drawContextList_->push_back(ctx);
        }
    }
    orderDeformers(allDeformers, allContexts);

    ParamDefSet* defs = impl ? impl->getParamDefSet() : nullptr;
    for (int i = 0; defs && i < defs->getParamDefFloatCount(); ++i) {
        ParamDefFloat* def = defs->getParamDefFloat(i);
        if (def == nullptr) continue;
        addParam(def->getParamID(), def->getDefaultValue(), def->getMinValue(), def->getMaxValue());
    }
    mustUpdateAll_ = true;
}

void ModelContext::resetBuckets() {
    const int range = IDrawData::getTotalMaxOrder() - IDrawData::getTotalMinOrder() + 1;
    orderFirst_->assign(range, NOT_USED_ORDER);
    orderLast_->assign(range, NOT_USED_ORDER);
    nextList_->assign(getDrawDataCount(), NOT_USED_ORDER);
}

// Chains drawable i at the end of its draw order's bucket.
void ModelContext::addToBucket(int i, int drawOrder) {
    int bucket = drawOrder - IDrawData::getTotalMinOrder();
    if (bucket < 0) bucket = 0;
    if (bucket >= orderFirst_->size()) bucket = orderFirst_->size() - 1;
    const unsigned short last = (*orderLast_)[bucket];
    if (last == NOT_USED_ORDER) (*orderFirst_)[bucket] = static_cast<unsigned short>(i);
    else (*nextList_)[last] = static_cast<unsigned short>(i);
    (*orderLast_)[bucket] = static_cast<unsigned short>(i);
}

void ModelContext::update() {
    if (!baseDataList_ || !drawDataList_ || !orderFirst_) return;
    updateChangedFlags();
    resetBuckets();
    for (int i = 0; i < baseDataList_->size(); ++i) {
        IBaseData* bd = (*baseDataList_)[i];
        IBaseContext* ctx = (*baseContextList_)[i];
        bd->interpolate(this, ctx);
        bd->applyParent(this, ctx);
    }
    const int drawCount = drawDataList_->size() < NOT_USED_ORDER ? drawDataList_->size() : NOT_USED_ORDER;
    for (int i = 0; i < drawCount; ++i) {
        IDrawData* dd = (*drawDataList_)[i];
        IDrawContext* ctx = (*drawContextList_)[i];
        dd->interpolate(this, ctx);
        dd->applyParent(this, ctx);
        addToBucket(i, ctx->drawOrder);
    }
    for (int i = 0; i < getParamCount(); ++i) (*updated_)[i] = 0;
    mustUpdateAll_ = false;
}

void ModelContext::draw(DrawParam* dp) {
    if (dp == nullptr || !orderFirst_ || !drawDataList_) return;
    dp->setupDraw();
    // Buckets are sized at update time; a draw before any update has none.
    for (int b = 0; b < orderFirst_->size(); ++b) {
        int i = (*orderFirst_)[b];
        while (i != NOT_USED_ORDER && i < drawDataList_->size() && i < nextList_->size()) {
            IDrawContext* ctx = (*drawContextList_)[i];
            if (ctx->isAvailable() && !ctx->outsideParam) {
                PartsDataContext* part = getPartsContext(ctx->getPartsIndex());
                ctx->partsOpacity = part ? part->getPartsOpacity() : 0.0f;
                (*drawDataList_)[i]->draw(dp, this, ctx);
            }
            const int next = (*nextList_)[i];
            if (next <= i) break;  // chains only run forwards
            i = next;
        }
    }
}

int ModelContext::getBaseDataIndex(BaseDataID* id) {
    if (!baseDataList_) return -1;
    for (int i = baseDataList_->size() - 1; i >= 0; --i) {
        IBaseData* bd = (*baseDataList_)[i];
        if (bd && bd->getBaseDataID() == id) return i;
    }
    return -1;
}

IBaseData* ModelContext::getBaseData(int index) {
    if (index < 0 || index >= getBaseDataCount()) {
        UtDebug::error("out of range ModelDrawContext@getBaseData()");
        return nullptr;
    }
    return (*baseDataList_)[index];
}

IBaseContext* ModelContext::getBaseContext(int index) {
    if (index < 0 || index >= getBaseDataCount()) return nullptr;
    return (*baseContextList_)[index];
}

int ModelContext::getDrawDataIndex(DrawDataID* id) {
    if (!drawDataList_) return -1;
    for (int i = drawDataList_->size() - 1; i >= 0; --i) {
        IDrawData* dd = (*drawDataList_)[i];
        if (dd && dd->getDrawDataID() == id) return i;
    }
    return -1;
}

IDrawData* ModelContext::getDrawData(int index) {
    if (index < 0 || index >= getDrawDataCount()) {
        UtDebug::error("out of range ModelDrawContext@getBaseData()");
        return nullptr;
    }
    return (*drawDataList_)[index];
}

IDrawContext* ModelContext::getDrawContext(int index) {
    if (index < 0 || index >= getDrawDataCount()) return nullptr;
    return (*drawContextList_)[index];
}

int ModelContext::getPartsDataIndex(PartsDataID* id) {
    if (!partsDataList_) return -1;
    for (int i = partsDataList_->size() - 1; i >= 0; --i) {
        PartsData* part = (*partsDataList_)[i];
        if (part && part->getPartsDataID() == id) return i;
    }
    return -1;
}

PartsDataContext* ModelContext::getPartsContext(int index) {
    if (!partsContextList_ || index < 0 || index >= partsContextList_->size()) return nullptr;
    return (*partsContextList_)[index];
}

}  // namespace mesh2d
