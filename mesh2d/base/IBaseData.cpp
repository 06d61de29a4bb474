#include "mesh2d/base/IBaseData.h"

#include "mesh2d/id/BaseDataID.h"
#include "mesh2d/io/BReader.h"
#include "mesh2d/io/FileFormat2.h"

namespace mesh2d {

IBaseData::~IBaseData() { delete pivotOpacities_; }

void IBaseData::readV2(BReader& br, MemoryParam* param) {
    baseDataId_ = static_cast<BaseDataID*>(br.readObject(param, expect::kBaseId));
    targetBaseDataId_ = static_cast<BaseDataID*>(br.readObject(param, expect::kParentId));
}

void IBaseData::readPivotOpacities(BReader& br, MemoryParam* param) {
    if (br.getFormatVersion() >= FileFormat2::MESH2D_FORMAT_VERSION_V2_10_SDK2) {
        pivotOpacities_ = br.readVectorFloat(param);
    }
}

bool IBaseData::hasParent() const {
    return targetBaseDataId_ && !(targetBaseDataId_->getName() == "DST_BASE");
}

}  // namespace mesh2d
