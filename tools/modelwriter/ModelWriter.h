#pragma once
// Writes model files from a Model description, laid out field by field as the
// runtime's reader expects them (header, one root model object, end marker).
#include <cstdint>
#include <string>
#include <vector>

#include "tools/modelwriter/ModelDescription.h"

namespace modelwriter {

// Class numbers of the object stream.
enum ClassNo : int32_t {
    kNull = 0, kString = 1, kColor = 10, kRectFD = 11, kRectF = 12, kPointFD = 13, kPointF = 14,
    kObjectArray = 15, kNull16 = 16, kAffineTransform = 17, kRect = 21, kPoint = 22,
    kNestedArray = 23, kIntArray = 25, kDoubleArray = 26, kFloatArray = 27, kBackReference = 33,
    kDrawDataId = 50, kBaseDataId = 51, kParamId = 60, kBoxGrid = 65, kPivotManager = 66,
    kParamPivots = 67, kAffine = 68, kAffineEnt = 69, kTexture = 70, kParamDefFloat = 131,
    kPartsData = 133, kPartsDataId = 134, kModelImpl = 136, kParamDefSet = 137,
    kAvatarPartsItem = 142,
};

constexpr uint32_t kEndMarker = 0x88888888u;

std::vector<uint8_t> writeModel(const Model& model);
// The same, recording where every array's elements were written.
struct ArraySpan;
std::vector<uint8_t> writeModel(const Model& model, std::vector<ArraySpan>* spans);

// Writes the bytes to a file; false (with a message in error) on failure.
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);

}  // namespace modelwriter
