#pragma once
// One affine state of a BDAffine: origin, scales, rotation and mirroring.
#include "mesh2d/io/ISerializableV2.h"

namespace mesh2d {

class AffineEnt : public ISerializableV2 {
public:
    AffineEnt() = default;
    ~AffineEnt() override = default;

    void read(BReader& br, MemoryParam* param) override;

    float originX = 0;
    float originY = 0;
    float scaleX = 1;
    float scaleY = 1;
    float rotationDeg = 0;
    bool reflectX = false;
    bool reflectY = false;
};

}  // namespace mesh2d
