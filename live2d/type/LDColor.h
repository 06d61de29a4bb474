#pragma once
// One 32-bit color value (the packing of its channels is used by nothing).
#include "live2d/memory/LDObject.h"

namespace live2d {

class LDColor : public LDObject {
public:
    LDColor() = default;
    explicit LDColor(int value) : color(value) {}
    ~LDColor() override = default;

    int color = 0;
};

}  // namespace live2d
