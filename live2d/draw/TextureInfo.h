#pragma once
// Colour multipliers of one texture number.
#include "live2d/memory/LDObject.h"

namespace live2d {

class TextureInfo : public LDObject {
public:
    ~TextureInfo() override = default;

    float r = 1.0f;
    float g = 1.0f;
    float b = 1.0f;
    float a = 1.0f;
};

}  // namespace live2d
