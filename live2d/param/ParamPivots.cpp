#include "live2d/param/ParamPivots.h"

#include "live2d/id/ParamID.h"
#include "live2d/io/BReader.h"
#include "live2d/util/UtMemory.h"

namespace live2d {

ParamPivots::~ParamPivots() { UtMemory::free(pivotValues_); }

void ParamPivots::read(BReader& br, MemoryParam* param) {
    paramId_ = static_cast<ParamID*>(br.readObject(param, expect::kParamId));
    pivotCount_ = br.readInt();
    pivotValues_ = static_cast<float*>(br.readObject(param, expect::kFloatArray));
}

}  // namespace live2d
