#pragma once
// A large synthetic model for benchmarks: one root affine deformer and
// `drawables` textured meshes of `points` points each, every mesh depending on
// `tables` parameters with two pivots each (2^tables point sets per mesh).
#include "tools/modelwriter/ModelDescription.h"

namespace modelwriter {

Model makeStressModel(int drawables, int points, int tables, int version = 10);

}  // namespace modelwriter
