#include "mesh2d/motion/Motion.h"

#include "mesh2d/AMesh2DModel.h"
#include "mesh2d/ModelContext.h"
#include "mesh2d/id/ParamID.h"

namespace mesh2d {

Motion::Motion(const char* name, int nameLength, int type, MemoryParam* param)
    : name_(name, nameLength, param), values_(param), type_(type) {}

int Motion::getParamIndex(AMesh2DModel* model) {
    ModelContext* context = model ? model->getModelContext() : nullptr;
    if (context == nullptr) return -1;
    // The remembered index holds only for the context (and its build) it came
    // from, and only while the store still has this parameter there: a model
    // deleted and another made at the same address, or a model read again,
    // must not get the old index.
    if (paramId_ != nullptr && context == cachedContext_ && context->getInitVersion() == cachedInitVersion_ &&
        context->getParamID(cachedParamIndex_) == paramId_) {
        return cachedParamIndex_;
    }
    if (paramId_ == nullptr) paramId_ = ParamID::getID(name_);
    if (paramId_ == nullptr) return -1;
    cachedParamIndex_ = context->getParamIndex(paramId_);
    cachedContext_ = context;
    cachedInitVersion_ = context->getInitVersion();
    return cachedParamIndex_;
}

}  // namespace mesh2d
