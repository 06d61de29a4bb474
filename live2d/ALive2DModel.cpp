#include "live2d/ALive2DModel.h"

#include "live2d/ModelContext.h"
#include "live2d/draw/DDTexture.h"
#include "live2d/draw/DDTextureContext.h"
#include "live2d/id/DrawDataID.h"
#include "live2d/id/ParamID.h"
#include "live2d/id/PartsDataID.h"
#include "live2d/model/ModelImpl.h"
#include "live2d/model/PartsDataContext.h"
#include "live2d/util/UtDebug.h"

namespace live2d {

ALive2DModel::ALive2DModel() : modelContext_(new ModelContext(this)) {}

ALive2DModel::~ALive2DModel() {
    // The context points into the model data: it goes first.
    delete modelContext_;
    delete modelImpl_;
}

void ALive2DModel::setModelImpl(ModelImpl* modelImpl) {
    if (modelImpl == modelImpl_) return;
    delete modelImpl_;
    modelImpl_ = modelImpl;
}

void ALive2DModel::init() {
    if (modelContext_) modelContext_->init();
}

void ALive2DModel::update() {
    if (modelContext_) modelContext_->update();
}

void ALive2DModel::draw() { UtDebug::error("please override ALive2DModel#draw() \n"); }

int ALive2DModel::generateModelTextureNo() {
    UtDebug::error("please override ALive2DModel::generateModelTextureNo()");
    return -1;
}

void ALive2DModel::releaseModelTextureNo(int) {
    UtDebug::error("please override ALive2DModel#releaseModelTextureNo() \n");
}

DrawParam* ALive2DModel::getDrawParam() { return nullptr; }

void ALive2DModel::setParamFloat(const char* paramId, float value, float weight) {
    if (!modelContext_ || paramId == nullptr) return;
    ParamID* id = ParamID::getID(paramId);
    if (id == nullptr) return;
    const int index = modelContext_->getParamIndex(id);
    if (weight != 1.0f) value = value * weight + modelContext_->getParamFloat(index) * (1.0f - weight);
    modelContext_->setParamFloat(index, value);
}

float ALive2DModel::getParamFloat(const char* paramId) {
    if (!modelContext_ || paramId == nullptr) return 0.0f;
    ParamID* id = ParamID::getID(paramId);
    if (id == nullptr) return 0.0f;
    return modelContext_->getParamFloat(modelContext_->getParamIndex(id));
}

void ALive2DModel::setPartsOpacity(const char* partsId, float opacity) {
    if (!modelContext_ || partsId == nullptr) return;
    PartsDataID* id = PartsDataID::getID(partsId);
    PartsDataContext* part = id ? modelContext_->getPartsContext(modelContext_->getPartsDataIndex(id)) : nullptr;
    if (part) part->setPartsOpacity(opacity);
}

float ALive2DModel::getPartsOpacity(const char* partsId) {
    if (!modelContext_ || partsId == nullptr) return 0.0f;
    PartsDataID* id = PartsDataID::getID(partsId);
    PartsDataContext* part = id ? modelContext_->getPartsContext(modelContext_->getPartsDataIndex(id)) : nullptr;
    return part ? part->getPartsOpacity() : 0.0f;
}

int ALive2DModel::getDrawDataIndex(const char* drawDataId) {
    if (!modelContext_ || drawDataId == nullptr) return -1;
    DrawDataID* id = DrawDataID::getID(drawDataId);
    return id ? modelContext_->getDrawDataIndex(id) : -1;
}

IDrawData* ALive2DModel::getDrawData(int drawDataIndex) {
    return modelContext_ ? modelContext_->getDrawData(drawDataIndex) : nullptr;
}

float* ALive2DModel::getTransformedPoints(int drawDataIndex, int* pointCount) {
    if (pointCount) *pointCount = 0;
    if (!modelContext_ || drawDataIndex < 0 || drawDataIndex >= modelContext_->getDrawDataCount()) return nullptr;
    IDrawData* dd = modelContext_->getDrawData(drawDataIndex);
    if (dd == nullptr || dd->getType() != IDrawData::TYPE_DD_TEXTURE) return nullptr;
    auto* ctx = static_cast<DDTextureContext*>(modelContext_->getDrawContext(drawDataIndex));
    if (pointCount) *pointCount = static_cast<DDTexture*>(dd)->getNumPoints();
    return ctx ? ctx->drawPoints : nullptr;
}

unsigned short* ALive2DModel::getIndexArray(int drawDataIndex, int* polygonCount) {
    if (polygonCount) *polygonCount = 0;
    if (!modelContext_ || drawDataIndex < 0 || drawDataIndex >= modelContext_->getDrawDataCount()) return nullptr;
    IDrawData* dd = modelContext_->getDrawData(drawDataIndex);
    if (dd == nullptr || dd->getType() != IDrawData::TYPE_DD_TEXTURE) return nullptr;
    auto* texture = static_cast<DDTexture*>(dd);
    if (polygonCount) *polygonCount = texture->getNumPolygons();
    return texture->getIndexArray();
}

}  // namespace live2d
