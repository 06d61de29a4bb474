#include "mesh2d/model/ModelImpl.h"

#include "mesh2d/memory/MemoryParam.h"
#include "mesh2d/memory/fixed/MemoryHolderFixed.h"
#include "mesh2d/model/PartsData.h"
#include "mesh2d/param/ParamDefSet.h"

namespace mesh2d {

ModelImpl::ModelImpl()
    : memoryHolderFixedMain_(new MemoryHolderFixed(0, "ModelImpl", PAGE_SIZE)),
      memoryHolderFixedGPU_(new MemoryHolderFixed(1, "ModelImpl-GPU", PAGE_SIZE)) {
    if (memoryHolderFixedMain_ && memoryHolderFixedGPU_) {
        memoryParam_ = new MemoryParam(memoryHolderFixedMain_, memoryHolderFixedGPU_);
    }
}

ModelImpl::~ModelImpl() {
    delete paramDefSet_;
    if (partsList_) {
        for (int i = partsList_->size() - 1; i >= 0; --i) {
            delete getPartsData(i);
        }
        delete partsList_;
    }
    // The holders go last: everything above lives in their pages.
    delete memoryParam_;
    delete memoryHolderFixedMain_;
    delete memoryHolderFixedGPU_;
}

void ModelImpl::read(BReader& br, MemoryParam*) {
    if (!memoryParam_) {
        br.fail("no memory holders for the model @ModelImpl#read()");
        return;
    }
    paramDefSet_ = br.readSerializable<ParamDefSet>(memoryParam_, expect::kParamDefSet);
    partsList_ = br.readObjectArray(memoryParam_, expect::kPartsList);
    canvasWidth_ = br.readInt();
    canvasHeight_ = br.readInt();
}

bool ModelImpl::initDirect() {
    if (!memoryParam_) {
        return false;
    }
    if (!paramDefSet_) {
        paramDefSet_ = LD_NEW(memoryParam_) ParamDefSet();
    }
    if (paramDefSet_ && !paramDefSet_->initDirect(memoryParam_)) {
        return false;
    }
    if (!partsList_) {
        partsList_ = LD_NEW(memoryParam_) ObjectArray(memoryParam_);
    }
    return paramDefSet_ && partsList_;
}

PartsData* ModelImpl::getPartsData(int index) const {
    return static_cast<PartsData*>(static_cast<ISerializableV2*>((*partsList_)[index]));
}

}  // namespace mesh2d
