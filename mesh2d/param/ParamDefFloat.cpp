#include "mesh2d/param/ParamDefFloat.h"

#include "mesh2d/id/ParamID.h"
#include "mesh2d/io/BReader.h"

namespace mesh2d {

void ParamDefFloat::read(BReader& br, MemoryParam* param) {
    minValue_ = br.readFloat();
    maxValue_ = br.readFloat();
    defaultValue_ = br.readFloat();
    paramId_ = static_cast<ParamID*>(br.readObject(param, expect::kParamId));
}

}  // namespace mesh2d
