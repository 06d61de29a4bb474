#include "mesh2d/model/PartsDataContext.h"

#include "mesh2d/model/PartsData.h"

namespace mesh2d {

PartsDataContext::PartsDataContext(PartsData* src)
    : partsOpacity_(src != nullptr && src->isVisible() ? 1.0f : 0.0f), srcPtr_(src) {}

}  // namespace mesh2d
