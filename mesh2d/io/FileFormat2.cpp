#include "mesh2d/io/FileFormat2.h"

#include "mesh2d/base/AffineEnt.h"
#include "mesh2d/base/BDAffine.h"
#include "mesh2d/base/BDBoxGrid.h"
#include "mesh2d/draw/DDTexture.h"
#include "mesh2d/model/AvatarPartsItem.h"
#include "mesh2d/model/ModelImpl.h"
#include "mesh2d/model/PartsData.h"
#include "mesh2d/param/ParamDefFloat.h"
#include "mesh2d/param/ParamDefSet.h"
#include "mesh2d/param/ParamPivots.h"
#include "mesh2d/param/PivotManager.h"

namespace mesh2d {

ISerializableV2* FileFormat2::createObject(MemoryParam* param, int classNo) {
    switch (classNo) {
        case BD_BOX_GRID: return LD_NEW(param) BDBoxGrid();
        case PIVOT_MANAGER: return LD_NEW(param) PivotManager();
        case PARAM_PIVOTS: return LD_NEW(param) ParamPivots();
        case BD_AFFINE: return LD_NEW(param) BDAffine();
        case AFFINE_ENT: return LD_NEW(param) AffineEnt();
        case DD_TEXTURE: return LD_NEW(param) DDTexture();
        case PARAM_DEF_FLOAT: return LD_NEW(param) ParamDefFloat();
        case PARTS_DATA: return LD_NEW(param) PartsData();
        case MODEL_IMPL: return LD_NEW(param) ModelImpl();
        case PARAM_DEF_SET: return LD_NEW(param) ParamDefSet();
        case AVATAR_PARTS_ITEM: return LD_NEW(param) AvatarPartsItem();
        default: return nullptr;
    }
}

}  // namespace mesh2d
