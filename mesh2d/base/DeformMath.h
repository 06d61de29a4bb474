#pragma once
// The point mappings of the two deformer kinds, free of model objects.
namespace mesh2d {

// Rotate-scale-translate with optional mirroring. One scale (the deformer
// chain's total scale) applies to both axes.
struct AffineMapping {
    float originX = 0.0f;
    float originY = 0.0f;
    float rotationDeg = 0.0f;
    float scale = 1.0f;
    bool reflectX = false;
    bool reflectY = false;
};

// Maps `count` points, each an x, y pair at src[offset + k·stride]; dst may
// be src.
void mapAffine(const AffineMapping& m, const float* src, float* dst, int count, int offset, int stride);

// A warp grid of columns × rows cells: (columns + 1) × (rows + 1) points, point
// (i, j) at index j × (columns + 1) + i. Points in the unit square go through
// the cells; points within 2 units outside go through virtual cells whose outer
// corners come from an affine fit of the four grid corners; farther (and
// non-finite) points go through the fit itself.
void mapGrid(const float* grid, int columns, int rows, const float* src, float* dst, int count, int offset,
             int stride);

}  // namespace mesh2d
