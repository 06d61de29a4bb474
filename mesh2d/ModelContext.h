#pragma once
// Per-model run-time state: the parameter store, the deformers in parent-first
// order, the drawables in part then file order, the parts with their
// opacities, the draw-order buckets and the pivot work area. Everything lives
// in the context's own holders and dies with it; the model data belongs to
// ModelImpl.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include "mesh2d/memory/LDObject.h"
#include "mesh2d/param/PivotMath.h"
#include "mesh2d/type/LDVector.h"

namespace mesh2d {

class AMesh2DModel;
class AMemoryHolder;
class BaseDataID;
class DrawDataID;
class DrawParam;
class IBaseContext;
class IBaseData;
class IDrawContext;
class IDrawData;
class MemoryParam;
class ParamID;
class PartsData;
class PartsDataContext;
class PartsDataID;

class ModelContext : public LDObject {
public:
    static constexpr unsigned short NOT_USED_ORDER = 0xFFFF;
    // Range of a parameter created by a lookup of an undeclared name.
    static constexpr float DEFAULT_PARAM_MIN = -1000000.0f;
    static constexpr float DEFAULT_PARAM_MAX = 1000000.0f;

    explicit ModelContext(AMesh2DModel* model);
    ~ModelContext() override;

    // Builds the lists and contexts from the model data (once per load; a
    // second call rebuilds from scratch).
    void init();
    void update();
    void draw(DrawParam* dp);

    // Parameter store.
    int addParam(ParamID* id, float value, float min, float max);
    // Index of the parameter, creating an undeclared one.
    int getParamIndex(ParamID* id);
    // 0 (with a report) for an index outside the store.
    float getParamFloat(int index);
    // Ignored outside the store; NaN becomes 0; clamped to [min, max].
    void setParamFloat(int index, float value);
    int getParamCount() const { return paramIds_ ? paramIds_->size() : 0; }
    // The ID of the parameter at index; null outside the store.
    ParamID* getParamID(int index) const {
        return (index >= 0 && index < getParamCount()) ? (*paramIds_)[index] : nullptr;
    }
    float getParamMin(int index) const;
    float getParamMax(int index) const;
    bool isParamUpdated(int index) const;
    bool requireUpdateAll() const { return mustUpdateAll_; }
    int getInitVersion() const { return initVersion_; }

    // Deformers (ordered list), drawables, parts.
    int getBaseDataIndex(BaseDataID* id);
    int getBaseDataCount() const { return baseDataList_ ? baseDataList_->size() : 0; }
    IBaseData* getBaseData(int index);
    IBaseContext* getBaseContext(int index);
    int getDrawDataIndex(DrawDataID* id);
    int getDrawDataCount() const { return drawDataList_ ? drawDataList_->size() : 0; }
    IDrawData* getDrawData(int index);
    IDrawContext* getDrawContext(int index);
    int getPartsDataIndex(PartsDataID* id);
    int getPartsDataCount() const { return partsDataList_ ? partsDataList_->size() : 0; }
    PartsDataContext* getPartsContext(int index);

    // Pivot work area, shared by every interpolation and overwritten by each.
    unsigned short* getTmpPivotTableIndices() { return tmpPivotTableIndices_; }
    float* getTmpT() { return tmpT_; }

    MemoryParam* getMemoryParam() const { return memoryParam_; }
    AMesh2DModel* getModel() const { return model_; }

private:
    void release();
    void createStore();
    bool orderDeformers(LDVector<IBaseData*>& all, LDVector<IBaseContext*>& contexts);
    void updateChangedFlags();
    void resetBuckets();
    void addToBucket(int drawIndex, int drawOrder);

    bool mustUpdateAll_ = true;
    AMesh2DModel* model_;
    int initVersion_ = -1;

    LDVector<ParamID*>* paramIds_ = nullptr;
    LDVector<float>* values_ = nullptr;
    LDVector<float>* lastValues_ = nullptr;
    LDVector<float>* mins_ = nullptr;
    LDVector<float>* maxs_ = nullptr;
    LDVector<float>* spare_ = nullptr;
    LDVector<char>* updated_ = nullptr;

    LDVector<IBaseData*>* baseDataList_ = nullptr;
    LDVector<IDrawData*>* drawDataList_ = nullptr;
    LDVector<PartsData*>* partsDataList_ = nullptr;
    LDVector<IBaseContext*>* baseContextList_ = nullptr;
    LDVector<IDrawContext*>* drawContextList_ = nullptr;
    LDVector<PartsDataContext*>* partsContextList_ = nullptr;

    LDVector<unsigned short>* orderFirst_ = nullptr;
    LDVector<unsigned short>* orderLast_ = nullptr;
    LDVector<unsigned short>* nextList_ = nullptr;

    unsigned short tmpPivotTableIndices_[PIVOT_TABLE_SIZE + 1];
    float tmpT_[PIVOT_MAX_INTERPOLATING + 1];

    MemoryParam* memoryParam_ = nullptr;
    AMemoryHolder* memoryHolderFixedMain_ = nullptr;
    AMemoryHolder* memoryHolderFixedGPU_ = nullptr;
};

}  // namespace mesh2d
