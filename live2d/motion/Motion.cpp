#include "live2d/motion/Motion.h"

#include "live2d/ALive2DModel.h"
#include "live2d/ModelContext.h"
#include "live2d/id/ParamID.h"

namespace live2d {

Motion::Motion(const char* name, int nameLength, int type, MemoryParam* param)
    : name_(name, nameLength, param), values_(param), type_(type) {}

int Motion::getParamIndex(ALive2DModel* model) {
    ModelContext* context = model ? model->getModelContext() : nullptr;
    if (context == nullptr) return -1;
    if (model == cachedModel_ && cachedParamIndex_ >= 0 && cachedParamIndex_ < context->getParamCount()) {
        return cachedParamIndex_;
    }
    if (paramId_ == nullptr) paramId_ = ParamID::getID(name_);
    if (paramId_ == nullptr) return -1;
    cachedParamIndex_ = context->getParamIndex(paramId_);
    cachedModel_ = model;
    return cachedParamIndex_;
}

}  // namespace live2d
