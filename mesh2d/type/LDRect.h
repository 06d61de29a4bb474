#pragma once
// A rectangle with integer position and size.
#include "mesh2d/memory/LDObject.h"

namespace mesh2d {

class LDRect : public LDObject {
public:
    LDRect() = default;
    LDRect(int x_, int y_, int width_, int height_) : x(x_), y(y_), width(width_), height(height_) {}
    ~LDRect() override = default;

    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

}  // namespace mesh2d
