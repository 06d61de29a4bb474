#pragma once
// A point with integer coordinates.
#include "mesh2d/memory/LDObject.h"

namespace mesh2d {

class LDPoint : public LDObject {
public:
    LDPoint() = default;
    LDPoint(int x_, int y_) : x(x_), y(y_) {}
    ~LDPoint() override = default;

    int x = 0;
    int y = 0;
};

}  // namespace mesh2d
