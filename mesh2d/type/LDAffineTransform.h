#pragma once
// A 2-D affine matrix in matrix order (m00 m10 m01 m11 m02 m12): x' = m00·x + m01·y + m02, y' = m10·x + m11·y + m12.
#include "mesh2d/memory/LDObject.h"

namespace mesh2d {

class LDAffineTransform : public LDObject {
public:
    LDAffineTransform() = default;
    LDAffineTransform(float m00_, float m10_, float m01_, float m11_, float m02_, float m12_)
        : m00(m00_), m10(m10_), m01(m01_), m11(m11_), m02(m02_), m12(m12_) {}
    ~LDAffineTransform() override = default;

    float m00 = 1, m10 = 0, m01 = 0, m11 = 1, m02 = 0, m12 = 0;
};

}  // namespace mesh2d
