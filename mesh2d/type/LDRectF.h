#pragma once
// A rectangle with float position and size.
#include "mesh2d/memory/LDObject.h"

namespace mesh2d {

class LDRectF : public LDObject {
public:
    LDRectF() = default;
    LDRectF(float x_, float y_, float width_, float height_) : x(x_), y(y_), width(width_), height(height_) {}
    ~LDRectF() override = default;

    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
};

}  // namespace mesh2d
