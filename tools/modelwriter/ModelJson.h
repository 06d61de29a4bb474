#pragma once
// Reads a Model description from JSON. Keys mirror the fields of
// ModelDescription.h ("params", "parts", "deformers" with "type": "affine" or
// "grid", "meshes" ...); see tools/modelwriter/README.md for an example.
#include <string>

#include "tools/modelwriter/ModelDescription.h"

namespace modelwriter {

// False with a message naming the offending key when the text is not a valid description.
bool modelFromJson(const std::string& text, Model& out, std::string& error);

}  // namespace modelwriter
