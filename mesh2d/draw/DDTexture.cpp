#include "mesh2d/draw/DDTexture.h"

#include "mesh2d/io/FileFormat2.h"
#include "mesh2d/memory/MemoryParam.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {
namespace {

constexpr int kAllocTypeGpu = 1;

}  // namespace

DDTexture::~DDTexture() {
    UtMemory::free(indexArray_);
    if (pivotPoints_) {
        for (int i = pivotPoints_->size() - 1; i >= 0; --i) {
            UtMemory::free((*pivotPoints_)[i]);
        }
        delete pivotPoints_;
    }
    UtMemory::free(uvmap_);
}

void DDTexture::read(BReader& br, MemoryParam* param) {
    IDrawData::read(br, param);
    textureNo_ = br.readInt();
    numPts_ = br.readInt();
    numPolygons_ = br.readInt();

    // Indices and texture coordinates are handed to the GPU as they are.
    const int previous = param->setAllocType(kAllocTypeGpu);
    indexArray_ = static_cast<unsigned short*>(br.readObject(param, expect::kIndexArray, 1));
    param->setAllocType(previous);

    pivotPoints_ = br.readObjectArray(param, expect::kPointSets);

    param->setAllocType(kAllocTypeGpu);
    uvmap_ = static_cast<float*>(br.readObject(param, expect::kFloatArray));
    param->setAllocType(previous);

    if (br.getFormatVersion() >= FileFormat2::MESH2D_FORMAT_VERSION_V2_8_TEX_OPTION) {
        optionFlag_ = br.readInt();
        if (optionFlag_ != 0) {
            if (optionFlag_ & OPTION_FLAG_BARCODE_KANFGROUP) {
                optionData_ = br.readInt();
            }
            colorCompositionType_ = (optionFlag_ >> 1) & 0xF;
            culling_ = (optionFlag_ & OPTION_FLAG_CULLING_OFF) == 0;
        }
    }
}

}  // namespace mesh2d
