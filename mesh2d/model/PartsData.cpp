#include "mesh2d/model/PartsData.h"

#include "mesh2d/base/IBaseData.h"
#include "mesh2d/draw/IDrawData.h"
#include "mesh2d/id/PartsDataID.h"

namespace mesh2d {

PartsData::~PartsData() {
    if (baseDataList_) {
        for (int i = baseDataList_->size() - 1; i >= 0; --i) {
            delete getBaseData(i);
        }
        delete baseDataList_;
    }
    if (drawDataList_) {
        for (int i = drawDataList_->size() - 1; i >= 0; --i) {
            delete getDrawData(i);
        }
        delete drawDataList_;
    }
}

void PartsData::read(BReader& br, MemoryParam* param) {
    // Two bits, most significant first: the unused flag, then visibility.
    locked_ = br.readBit();
    visible_ = br.readBit();
    partsId_ = static_cast<PartsDataID*>(br.readObject(param, expect::kPartsId));
    baseDataList_ = br.readObjectArray(param, expect::kDeformerList);
    drawDataList_ = br.readObjectArray(param, expect::kDrawableList);
}

IBaseData* PartsData::getBaseData(int index) const {
    return static_cast<IBaseData*>(static_cast<ISerializableV2*>((*baseDataList_)[index]));
}

IDrawData* PartsData::getDrawData(int index) const {
    return static_cast<IDrawData*>(static_cast<ISerializableV2*>((*drawDataList_)[index]));
}

}  // namespace mesh2d
