#pragma once
// Run-time state of a DDTexture: its blended points, the points carried
// through the parent deformer, and which of the two is drawn.
#include "mesh2d/draw/IDrawContext.h"

namespace mesh2d {

class DDTexture;

class DDTextureContext : public IDrawContext {
public:
    explicit DDTextureContext(DDTexture* src);
    ~DDTextureContext() override;

    int tmpBaseDataIndex = -2;
    float* interpolatedPoints = nullptr;  // point count × 2, GPU holder, zero-filled
    float* transformedPoints = nullptr;   // same; only under a parent deformer
    float* drawPoints = nullptr;          // one of the two above
    unsigned char notUpdateCount = 0;
};

}  // namespace mesh2d
