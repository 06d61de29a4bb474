#include "live2d/model/PartsDataContext.h"

#include "live2d/model/PartsData.h"

namespace live2d {

PartsDataContext::PartsDataContext(PartsData* src)
    : partsOpacity_(src != nullptr && src->isVisible() ? 1.0f : 0.0f), srcPtr_(src) {}

}  // namespace live2d
