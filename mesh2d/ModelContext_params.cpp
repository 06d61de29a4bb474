// The parameter store of ModelContext: parallel vectors indexed by parameter.
#include <cmath>

#include "mesh2d/ModelContext.h"
#include "mesh2d/id/ParamID.h"
#include "mesh2d/memory/MemoryParam.h"
#include "mesh2d/util/UtDebug.h"

namespace mesh2d {

void ModelContext::createStore() {
    paramIds_ = LD_NEW(memoryParam_) LDVector<ParamID*>(memoryParam_, 64);
    values_ = LD_NEW(memoryParam_) LDVector<float>(memoryParam_, 64);
    lastValues_ = LD_NEW(memoryParam_) LDVector<float>(memoryParam_, 64);
    mins_ = LD_NEW(memoryParam_) LDVector<float>(memoryParam_, 64);
    maxs_ = LD_NEW(memoryParam_) LDVector<float>(memoryParam_, 64);
    spare_ = LD_NEW(memoryParam_) LDVector<float>(memoryParam_, 64);
    updated_ = LD_NEW(memoryParam_) LDVector<char>(memoryParam_, 64);
}

int ModelContext::addParam(ParamID* id, float value, float min, float max) {
    if (!paramIds_ || !values_ || !lastValues_ || !mins_ || !maxs_ || !updated_) return -1;
    if (!paramIds_->push_back(id) || !values_->push_back(value) || !lastValues_->push_back(value) ||
        !mins_->push_back(min) || !maxs_->push_back(max) || !updated_->push_back(1)) {
        return -1;
    }
    return paramIds_->size() - 1;
}

int ModelContext::getParamIndex(ParamID* id) {
    if (paramIds_) {
        for (int i = paramIds_->size() - 1; i >= 0; --i) {
            if ((*paramIds_)[i] == id) return i;
        }
    }
    return addParam(id, 0.0f, DEFAULT_PARAM_MIN, DEFAULT_PARAM_MAX);
}

float ModelContext::getParamFloat(int index) {
    if (index < 0 || index >= getParamCount()) {
        UtDebug::error("out of range ModelDrawContext@getParamFloat()");
        return 0.0f;
    }
    return (*values_)[index];
}

void ModelContext::setParamFloat(int index, float value) {
    if (index < 0 || index >= getParamCount()) return;
    if (std::isnan(value)) value = 0.0f;
    const float min = (*mins_)[index];
    const float max = (*maxs_)[index];
    if (value < min) value = min;
    if (value > max) value = max;
    (*values_)[index] = value;
}

float ModelContext::getParamMin(int index) const {
    return (index >= 0 && index < getParamCount()) ? (*mins_)[index] : 0.0f;
}

float ModelContext::getParamMax(int index) const {
    return (index >= 0 && index < getParamCount()) ? (*maxs_)[index] : 0.0f;
}

bool ModelContext::isParamUpdated(int index) const {
    return index >= 0 && index < getParamCount() && (*updated_)[index] != 0;
}

void ModelContext::updateChangedFlags() {
    for (int i = 0; i < getParamCount(); ++i) {
        if ((*values_)[i] != (*lastValues_)[i]) {
            (*updated_)[i] = 1;
            (*lastValues_)[i] = (*values_)[i];
        }
    }
}

}  // namespace mesh2d
