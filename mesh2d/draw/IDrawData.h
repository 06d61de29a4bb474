#pragma once
// Base of the drawables: ID, parent deformer ID (null or "DST_BASE": model
// space), pivot tables, and per pivot combination a draw order and an opacity.
//
// The process-wide draw-order range sizes the model context's buckets. It
// starts at (500, 500), is widened by the pivot draw orders of every model
// that is accepted (never by a refused one) and never narrowed; draw orders
// are bounded so one model cannot blow the buckets up for every later one.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include "mesh2d/io/ISerializableV2.h"
#include "mesh2d/type/LDVector.h"

namespace mesh2d {

class BaseDataID;
class DrawParam;
class IDrawContext;
class ModelContext;
class DrawDataID;
class PivotManager;

class IDrawData : public ISerializableV2 {
public:
    static constexpr int BASE_INDEX_NOT_INIT = -2;
    static constexpr int DEFAULT_ORDER = 500;
    static constexpr int TYPE_DD_TEXTURE = 2;
    // Pivot draw orders a model may use.
    static constexpr int MIN_DRAW_ORDER = -10000;
    static constexpr int MAX_DRAW_ORDER = 10000;

    IDrawData() = default;
    ~IDrawData() override;

    void read(BReader& br, MemoryParam* param) override;
    virtual int getType() const;

    // Per-frame behaviour (IDrawData_behaviour.cpp, DDTexture_behaviour.cpp).
    // Contexts come from the model context's holder.
    virtual IDrawContext* createContext(ModelContext* mdc);
    // Blends draw order, opacity and points when a parameter changed.
    virtual void interpolate(ModelContext* mdc, IDrawContext* cdata);
    // Pushes the points through the parent deformer.
    virtual void applyParent(ModelContext* mdc, IDrawContext* cdata);
    virtual void draw(DrawParam* dp, ModelContext* mdc, IDrawContext* cdata);
    virtual void optionalHook(void*) {}
    virtual void dump();
    // Reports an operation a kind does not implement.
    void unimplementedOperation();

    PivotManager* getPivotManager() const { return pivotManager_; }
    int getAverageDrawOrder() const { return averageDrawOrder_; }
    DrawDataID* getDrawDataID() const { return drawDataId_; }
    BaseDataID* getTargetBaseDataID() const { return targetBaseDataId_; }
    // True when the parent ID names a deformer (not null, not "DST_BASE").
    bool hasParent() const;
    LDVector<int>* getPivotDrawOrders() const { return pivotDrawOrders_; }
    LDVector<float>* getPivotOpacities() const { return pivotOpacities_; }

    static int getTotalMinOrder();
    static int getTotalMaxOrder();
    // Widens the range to include [minOrder, maxOrder] (clamped to the bounds above).
    static void widenTotalOrder(int minOrder, int maxOrder);

private:
    PivotManager* pivotManager_ = nullptr;
    int averageDrawOrder_ = DEFAULT_ORDER;
    DrawDataID* drawDataId_ = nullptr;        // interned, not owned
    BaseDataID* targetBaseDataId_ = nullptr;  // interned, not owned
    LDVector<int>* pivotDrawOrders_ = nullptr;
    LDVector<float>* pivotOpacities_ = nullptr;
};

}  // namespace mesh2d
