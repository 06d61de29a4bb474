#pragma once
// A point with float coordinates.
#include "mesh2d/memory/LDObject.h"

namespace mesh2d {

class LDPointF : public LDObject {
public:
    LDPointF() = default;
    LDPointF(float x_, float y_) : x(x_), y(y_) {}
    ~LDPointF() override = default;

    float x = 0;
    float y = 0;
};

}  // namespace mesh2d
