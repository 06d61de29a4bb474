#pragma once
// The pivot tables of one deformer or drawable, in file order. Owns them.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include "mesh2d/io/BReader.h"
#include "mesh2d/io/ISerializableV2.h"

namespace mesh2d {

class ModelContext;
class ParamPivots;

class PivotManager : public ISerializableV2 {
public:
    PivotManager() = default;
    ~PivotManager() override;

    void read(BReader& br, MemoryParam* param) override;

    int getParamPivotsCount() const { return paramPivotTable_ ? paramPivotTable_->size() : 0; }
    ParamPivots* getParamPivots(int index) const;
    // Number of stored pivot combinations: the product of the pivot counts
    // (1 without tables).
    long long getCombinationCount() const;

    // Per-frame behaviour (PivotManager_calc.cpp).
    // True when the context must update everything or a parameter of one of
    // the tables changed since the last update.
    bool checkParamUpdated(ModelContext* mdc);
    // Stores each table's pivot index and weight; returns the number of
    // tables with a non-zero weight, or -1 (with a report) when a table's
    // parameter cannot be resolved. Sets *outOfRange for values outside the pivots.
    int calcPivotValue(ModelContext* mdc, bool* outOfRange);
    // Fills the combination indices and weights of the work area from the
    // stored positions; returns the number of interpolating tables used, or -1.
    int calcPivotIndexies(unsigned short* pivotIndices, float* weights, int interpolatingCount);

private:
    ObjectArray* paramPivotTable_ = nullptr;
};

}  // namespace mesh2d
