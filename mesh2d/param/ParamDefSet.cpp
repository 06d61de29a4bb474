#include "mesh2d/param/ParamDefSet.h"

#include "mesh2d/param/ParamDefFloat.h"

namespace mesh2d {

ParamDefSet::~ParamDefSet() {
    if (!paramDefList_) {
        return;
    }
    for (int i = paramDefList_->size() - 1; i >= 0; --i) {
        delete getParamDefFloat(i);
    }
    delete paramDefList_;
}

void ParamDefSet::read(BReader& br, MemoryParam* param) {
    paramDefList_ = br.readObjectArray(param, expect::kParamDefList);
}

bool ParamDefSet::initDirect(MemoryParam* param) {
    if (!paramDefList_) {
        paramDefList_ = LD_NEW(param) ObjectArray(param);
    }
    return paramDefList_ != nullptr;
}

ParamDefFloat* ParamDefSet::getParamDefFloat(int index) const {
    return static_cast<ParamDefFloat*>(static_cast<ISerializableV2*>((*paramDefList_)[index]));
}

}  // namespace mesh2d
