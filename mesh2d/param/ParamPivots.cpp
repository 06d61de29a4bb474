#include "mesh2d/param/ParamPivots.h"

#include "mesh2d/id/ParamID.h"
#include "mesh2d/io/BReader.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {

ParamPivots::~ParamPivots() { UtMemory::free(pivotValues_); }

void ParamPivots::read(BReader& br, MemoryParam* param) {
    paramId_ = static_cast<ParamID*>(br.readObject(param, expect::kParamId));
    pivotCount_ = br.readInt();
    pivotValues_ = static_cast<float*>(br.readObject(param, expect::kFloatArray));
}

}  // namespace mesh2d
