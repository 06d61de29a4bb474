#include "mesh2d/io/ObjectExpect.h"

#include "mesh2d/io/FileFormat2.h"

namespace mesh2d::expect {

using F = FileFormat2;

const ObjectExpect kParamId{{F::PARAM_ID}, 1, false, nullptr};
const ObjectExpect kPartsId{{F::PARTS_DATA_ID}, 1, false, nullptr};
const ObjectExpect kBaseId{{F::BASE_DATA_ID}, 1, false, nullptr};
const ObjectExpect kParentId{{F::BASE_DATA_ID}, 1, true, nullptr};
const ObjectExpect kDrawId{{F::DRAW_DATA_ID}, 1, false, nullptr};
const ObjectExpect kFloatArray{{F::ARRAY_FLOAT}, 1, false, nullptr};
const ObjectExpect kIndexArray{{F::ARRAY_INT}, 1, false, nullptr};

const ObjectExpect kParamDefFloat{{F::PARAM_DEF_FLOAT}, 1, false, nullptr};
const ObjectExpect kParamDefList{{F::OBJECT_ARRAY}, 1, false, &kParamDefFloat};
const ObjectExpect kParamDefSet{{F::PARAM_DEF_SET}, 1, false, nullptr};

const ObjectExpect kParamPivots{{F::PARAM_PIVOTS}, 1, false, nullptr};
const ObjectExpect kPivotTable{{F::OBJECT_ARRAY}, 1, false, &kParamPivots};
const ObjectExpect kPivotManager{{F::PIVOT_MANAGER}, 1, false, nullptr};

const ObjectExpect kAffineEnt{{F::AFFINE_ENT}, 1, false, nullptr};
const ObjectExpect kAffineStates{{F::OBJECT_ARRAY}, 1, false, &kAffineEnt};
const ObjectExpect kPointSets{{F::OBJECT_ARRAY}, 1, false, &kFloatArray};

const ObjectExpect kDeformer{{F::BD_AFFINE, F::BD_BOX_GRID}, 2, false, nullptr};
const ObjectExpect kDeformerList{{F::OBJECT_ARRAY}, 1, false, &kDeformer};
const ObjectExpect kDrawable{{F::DD_TEXTURE}, 1, false, nullptr};
const ObjectExpect kDrawableList{{F::OBJECT_ARRAY}, 1, false, &kDrawable};

const ObjectExpect kPartsData{{F::PARTS_DATA}, 1, false, nullptr};
const ObjectExpect kPartsList{{F::OBJECT_ARRAY}, 1, false, &kPartsData};
const ObjectExpect kModel{{F::MODEL_IMPL}, 1, false, nullptr};

}  // namespace mesh2d::expect
