#pragma once
// One 32-bit color value (the packing of its channels is used by nothing).
#include "mesh2d/memory/LDObject.h"

namespace mesh2d {

class LDColor : public LDObject {
public:
    LDColor() = default;
    explicit LDColor(int value) : color(value) {}
    ~LDColor() override = default;

    int color = 0;
};

}  // namespace mesh2d
