#include "mesh2d/AMesh2DModel.h"

#include "mesh2d/ModelContext.h"
#include "mesh2d/draw/DDTexture.h"
#include "mesh2d/draw/DDTextureContext.h"
#include "mesh2d/id/DrawDataID.h"
#include "mesh2d/id/ParamID.h"
#include "mesh2d/id/PartsDataID.h"
#include "mesh2d/model/ModelImpl.h"
#include "mesh2d/model/PartsDataContext.h"
#include "mesh2d/util/UtDebug.h"

namespace mesh2d {

AMesh2DModel::AMesh2DModel() : modelContext_(new ModelContext(this)) {}

AMesh2DModel::~AMesh2DModel() {
    // The context points into the model data: it goes first.
    delete modelContext_;
    delete modelImpl_;
}

void AMesh2DModel::setModelImpl(ModelImpl* modelImpl) {
    if (modelImpl == modelImpl_) return;
    delete modelImpl_;
    modelImpl_ = modelImpl;
}

void AMesh2DModel::init() {
    if (modelContext_) modelContext_->init();
}

void AMesh2DModel::update() {
    if (modelContext_) modelContext_->update();
}

void AMesh2DModel::draw() { UtDebug::error("please override AMesh2DModel#draw() \n"); }

int AMesh2DModel::generateModelTextureNo() {
    UtDebug::error("please override AMesh2DModel::generateModelTextureNo()");
    return -1;
}

void AMesh2DModel::releaseModelTextureNo(int) {
    UtDebug::error("please override AMesh2DModel#releaseModelTextureNo() \n");
}

DrawParam* AMesh2DModel::getDrawParam() { return nullptr; }

void AMesh2DModel::setParamFloat(const char* paramId, float value, float weight) {
    if (!modelContext_ || paramId == nullptr) return;
    ParamID* id = ParamID::getID(paramId);
    if (id == nullptr) return;
    const int index = modelContext_->getParamIndex(id);
    if (weight != 1.0f) value = value * weight + modelContext_->getParamFloat(index) * (1.0f - weight);
    modelContext_->setParamFloat(index, value);
}

float AMesh2DModel::getParamFloat(const char* paramId) {
    if (!modelContext_ || paramId == nullptr) return 0.0f;
    ParamID* id = ParamID::getID(paramId);
    if (id == nullptr) return 0.0f;
    return modelContext_->getParamFloat(modelContext_->getParamIndex(id));
}

void AMesh2DModel::setPartsOpacity(const char* partsId, float opacity) {
    if (!modelContext_ || partsId == nullptr) return;
    PartsDataID* id = PartsDataID::getID(partsId);
    PartsDataContext* part = id ? modelContext_->getPartsContext(modelContext_->getPartsDataIndex(id)) : nullptr;
    if (part) part->setPartsOpacity(opacity);
}

float AMesh2DModel::getPartsOpacity(const char* partsId) {
    if (!modelContext_ || partsId == nullptr) return 0.0f;
    PartsDataID* id = PartsDataID::getID(partsId);
    PartsDataContext* part = id ? modelContext_->getPartsContext(modelContext_->getPartsDataIndex(id)) : nullptr;
    return part ? part->getPartsOpacity() : 0.0f;
}

int AMesh2DModel::getDrawDataIndex(const char* drawDataId) {
    if (!modelContext_ || drawDataId == nullptr) return -1;
    DrawDataID* id = DrawDataID::getID(drawDataId);
    return id ? modelContext_->getDrawDataIndex(id) : -1;
}

IDrawData* AMesh2DModel::getDrawData(int drawDataIndex) {
    return modelContext_ ? modelContext_->getDrawData(drawDataIndex) : nullptr;
}

float* AMesh2DModel::getTransformedPoints(int drawDataIndex, int* pointCount) {
    if (pointCount) *pointCount = 0;
    if (!modelContext_ || drawDataIndex < 0 || drawDataIndex >= modelContext_->getDrawDataCount()) return nullptr;
    IDrawData* dd = modelContext_->getDrawData(drawDataIndex);
    if (dd == nullptr || dd->getType() != IDrawData::TYPE_DD_TEXTURE) return nullptr;
    auto* ctx = static_cast<DDTextureContext*>(modelContext_->getDrawContext(drawDataIndex));
    if (pointCount) *pointCount = static_cast<DDTexture*>(dd)->getNumPoints();
    return ctx ? ctx->drawPoints : nullptr;
}

unsigned short* AMesh2DModel::getIndexArray(int drawDataIndex, int* polygonCount) {
    if (polygonCount) *polygonCount = 0;
    if (!modelContext_ || drawDataIndex < 0 || drawDataIndex >= modelContext_->getDrawDataCount()) return nullptr;
    IDrawData* dd = modelContext_->getDrawData(drawDataIndex);
    if (dd == nullptr || dd->getType() != IDrawData::TYPE_DD_TEXTURE) return nullptr;
    auto* texture = static_cast<DDTexture*>(dd);
    if (polygonCount) *polygonCount = texture->getNumPolygons();
    return texture->getIndexArray();
}

}  // namespace mesh2d
