#include "mesh2d/model/ModelValidator.h"

#include <cstdarg>
#include <cstdio>

#include "mesh2d/base/AffineEnt.h"
#include "mesh2d/base/BDAffine.h"
#include "mesh2d/base/BDBoxGrid.h"
#include "mesh2d/draw/DDTexture.h"
#include "mesh2d/id/BaseDataID.h"
#include "mesh2d/id/DrawDataID.h"
#include "mesh2d/id/ParamID.h"
#include "mesh2d/id/PartsDataID.h"
#include "mesh2d/io/BReader.h"
#include "mesh2d/io/FileFormat2.h"
#include "mesh2d/model/ModelImpl.h"
#include "mesh2d/model/PartsData.h"
#include "mesh2d/param/ParamDefFloat.h"
#include "mesh2d/param/ParamDefSet.h"
#include "mesh2d/param/ParamPivots.h"
#include "mesh2d/param/PivotManager.h"

namespace mesh2d {

namespace {

// The x, y coordinates of a grid of rows x columns cells, or -1 when the grid is
// empty or would need more than `limit` of them. The bound is checked by
// division first: two counts near 2^31 would overflow even a 64-bit product.
long long gridCoordinateCount(long long rows, long long columns, long long limit) {
    if (rows < 1 || columns < 1 || rows + 1 > limit / 2 / (columns + 1)) {
        return -1;
    }
    return (rows + 1) * (columns + 1) * 2;
}

}  // namespace

bool ModelValidator::refuse(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(message_, sizeof(message_), format, args);
    va_end(args);
    return false;
}

long long ModelValidator::arrayCount(const void* array, int classNo) {
    int recordedClass = 0;
    int count = 0;
    if (!array || !br_.findReference(array, &recordedClass, &count) || recordedClass != classNo) {
        return -1;
    }
    return count;
}

bool ModelValidator::validate(const ModelImpl* model) {
    message_[0] = '\0';
    if (!model || !model->getParamDefSet() || model->getPartsDataCount() < 0) {
        return refuse("the model has no parameter definitions or no part list");
    }
    if (br_.getByteBuffer().sawNonFiniteFloat()) {
        return refuse("the model holds a float that is not finite");
    }
    if (!checkParams(model)) {
        return false;
    }
    for (int i = 0; i < model->getPartsDataCount(); ++i) {
        if (!checkPart(model->getPartsData(i))) {
            return false;
        }
    }
    if (drawables_ > MAX_DRAWABLES) {
        return refuse("%d drawables (at most %d)", drawables_, MAX_DRAWABLES);
    }
    if (!anyOrder_) {
        minOrder_ = maxOrder_ = IDrawData::DEFAULT_ORDER;
    }
    return true;
}

bool ModelValidator::checkParams(const ModelImpl* model) {
    const ParamDefSet* set = model->getParamDefSet();
    if (!set->getParamDefList()) {
        return refuse("the parameter definitions have no list");
    }
    for (int i = 0; i < set->getParamDefFloatCount(); ++i) {
        const ParamDefFloat* def = set->getParamDefFloat(i);
        if (!def || !def->getParamID()) {
            return refuse("parameter definition %d has no ID", i);
        }
    }
    return true;
}

bool ModelValidator::checkPart(const PartsData* part) {
    if (!part || !part->getPartsDataID()) {
        return refuse("a part has no ID");
    }
    const char* partName = part->getPartsDataID()->toChar();
    for (int i = 0; i < part->getBaseDataCount(); ++i) {
        const IBaseData* base = part->getBaseData(i);
        if (!base || !base->getBaseDataID()) {
            return refuse("part %s: deformer %d has no ID", partName, i);
        }
        const char* name = base->getBaseDataID()->toChar();
        const bool ok = base->getType() == IBaseData::TYPE_BD_AFFINE
                            ? checkAffine(static_cast<const BDAffine*>(base), name)
                            : checkGrid(static_cast<const BDBoxGrid*>(base), name);
        if (!ok) {
            return false;
        }
    }
    for (int i = 0; i < part->getDrawDataCount(); ++i) {
        const IDrawData* draw = part->getDrawData(i);
        if (!draw || !draw->getDrawDataID()) {
            return refuse("part %s: drawable %d has no ID", partName, i);
        }
        if (!checkTexture(static_cast<const DDTexture*>(draw), draw->getDrawDataID()->toChar())) {
            return false;
        }
        ++drawables_;
    }
    return true;
}

bool ModelValidator::checkPivots(const PivotManager* pm, const char* owner, long long* combinations) {
    if (!pm) {
        return refuse("%s has no pivot tables", owner);
    }
    long long product = 1;
    for (int i = 0; i < pm->getParamPivotsCount(); ++i) {
        const ParamPivots* pivots = pm->getParamPivots(i);
        if (!pivots || !pivots->getParamID()) {
            return refuse("%s: pivot table %d has no parameter", owner, i);
        }
        const int count = pivots->getPivotCount();
        if (count < 1) {
            return refuse("%s: pivot table %d has %d pivots", owner, i, count);
        }
        if (arrayCount(pivots->getPivotValues(), FileFormat2::ARRAY_FLOAT) != count) {
            return refuse("%s: pivot table %d claims %d pivots but holds another number of values", owner, i,
                          count);
        }
        product *= count;
        if (product > MAX_COMBINATIONS) {
            return refuse("%s: more than %lld pivot combinations", owner, MAX_COMBINATIONS);
        }
    }
    *combinations = product;
    return true;
}

template <typename V>
bool ModelValidator::checkCombinationList(const V* list, long long combinations, const char* what,
                                          const char* name) {
    if (!list || list->size() != combinations) {
        return refuse("%s: %d %s for %lld pivot combinations", name, list ? list->size() : 0, what, combinations);
    }
    return true;
}

bool ModelValidator::checkAffine(const BDAffine* affine, const char* name) {
    long long combos = 0;
    if (!checkPivots(affine->getPivotManager(), name, &combos)) {
        return false;
    }
    if (affine->getAffineCount() != combos) {
        return refuse("%s: %d affine states for %lld pivot combinations", name, affine->getAffineCount(), combos);
    }
    for (int i = 0; i < affine->getAffineCount(); ++i) {
        if (!affine->getAffine(i)) {
            return refuse("%s: affine state %d is missing", name, i);
        }
    }
    const LDVector<float>* opacities = affine->getPivotOpacities();
    return !opacities || checkCombinationList(opacities, combos, "opacities", name);
}

bool ModelValidator::checkGrid(const BDBoxGrid* grid, const char* name) {
    long long combos = 0;
    if (!checkPivots(grid->getPivotManager(), name, &combos)) {
        return false;
    }
    const long long rows = grid->getRowCount();
    const long long columns = grid->getColumnCount();
    const long long floats = gridCoordinateCount(rows, columns, MAX_GRID_COORDINATES);
    if (floats < 0) {
        return refuse("%s: a grid of %lld x %lld cells (at least 1 x 1, at most %d coordinates)", name, columns,
                      rows, MAX_GRID_COORDINATES);
    }
    if (grid->getPivotPointsCount() != combos) {
        return refuse("%s: %d grids for %lld pivot combinations", name, grid->getPivotPointsCount(), combos);
    }
    for (int i = 0; i < grid->getPivotPointsCount(); ++i) {
        if (arrayCount(grid->getPivotPoints(i), FileFormat2::ARRAY_FLOAT) != floats) {
            return refuse("%s: grid %d does not hold %lld coordinates", name, i, floats);
        }
    }
    const LDVector<float>* opacities = grid->getPivotOpacities();
    return !opacities || checkCombinationList(opacities, combos, "opacities", name);
}

bool ModelValidator::checkTexture(const DDTexture* texture, const char* name) {
    long long combos = 0;
    if (!checkPivots(texture->getPivotManager(), name, &combos)) {
        return false;
    }
    const long long points = texture->getNumPoints();
    const long long triangles = texture->getNumPolygons();
    if (points < 0 || triangles < 0) {
        return refuse("%s: %lld points, %lld triangles", name, points, triangles);
    }
    if (arrayCount(texture->getIndexArray(), FileFormat2::ARRAY_INT) != triangles * 3) {
        return refuse("%s: the index array does not hold 3 x %lld indices", name, triangles);
    }
    const unsigned short* indices = texture->getIndexArray();
    for (long long i = 0; i < triangles * 3; ++i) {
        if (indices[i] >= points) {
            return refuse("%s: triangle index %u is not below the point count %lld", name, indices[i], points);
        }
    }
    if (texture->getPivotPointsCount() != combos) {
        return refuse("%s: %d point sets for %lld pivot combinations", name, texture->getPivotPointsCount(), combos);
    }
    for (int i = 0; i < texture->getPivotPointsCount(); ++i) {
        if (arrayCount(texture->getPivotPoints(i), FileFormat2::ARRAY_FLOAT) != points * 2) {
            return refuse("%s: point set %d does not hold %lld points", name, i, points);
        }
    }
    if (arrayCount(texture->getUvMap(), FileFormat2::ARRAY_FLOAT) != points * 2) {
        return refuse("%s: the texture coordinates do not hold %lld points", name, points);
    }
    const LDVector<int>* orders = texture->getPivotDrawOrders();
    if (!checkCombinationList(orders, combos, "draw orders", name) ||
        !checkCombinationList(texture->getPivotOpacities(), combos, "opacities", name)) {
        return false;
    }
    for (int order : *orders) {
        if (order < IDrawData::MIN_DRAW_ORDER || order > IDrawData::MAX_DRAW_ORDER) {
            return refuse("%s: draw order %d outside %d .. %d", name, order, IDrawData::MIN_DRAW_ORDER,
                          IDrawData::MAX_DRAW_ORDER);
        }
        if (!anyOrder_ || order < minOrder_) minOrder_ = order;
        if (!anyOrder_ || order > maxOrder_) maxOrder_ = order;
        anyOrder_ = true;
    }
    return true;
}

}  // namespace mesh2d
