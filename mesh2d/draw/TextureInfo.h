#pragma once
// Colour multipliers of one texture number.
#include "mesh2d/memory/LDObject.h"

namespace mesh2d {

class TextureInfo : public LDObject {
public:
    ~TextureInfo() override = default;

    float r = 1.0f;
    float g = 1.0f;
    float b = 1.0f;
    float a = 1.0f;
};

}  // namespace mesh2d
