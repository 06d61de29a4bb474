#include "live2d/param/ParamDefFloat.h"

#include "live2d/id/ParamID.h"
#include "live2d/io/BReader.h"

namespace live2d {

void ParamDefFloat::read(BReader& br, MemoryParam* param) {
    minValue_ = br.readFloat();
    maxValue_ = br.readFloat();
    defaultValue_ = br.readFloat();
    paramId_ = static_cast<ParamID*>(br.readObject(param, expect::kParamId));
}

}  // namespace live2d
