#pragma once
// The warp-grid deformer: per pivot combination, a lattice of
// (columns + 1) x (rows + 1) points in row-major order.
#include "mesh2d/base/IBaseData.h"
#include "mesh2d/io/BReader.h"

namespace mesh2d {

class BDBoxGrid : public IBaseData {
public:
    BDBoxGrid() = default;
    ~BDBoxGrid() override;

    void read(BReader& br, MemoryParam* param) override;
    int getType() const override { return TYPE_BD_BOX_GRID; }
    PivotManager* getPivotManager() const override { return pivotManager_; }

    IBaseContext* createContext(ModelContext* mdc) override;
    void interpolate(ModelContext* mdc, IBaseContext* cdata) override;
    void applyParent(ModelContext* mdc, IBaseContext* cdata) override;
    void transformPoints(ModelContext* mdc, IBaseContext* cdata, float* srcPoints, float* dstPoints, int numPoint,
                         int ptOffset, int ptStep) override;
    void dump() override;

    int getColumnCount() const { return col_; }
    int getRowCount() const { return row_; }
    // (columns + 1) x (rows + 1)
    int getGridPointCount() const { return (col_ + 1) * (row_ + 1); }
    int getPivotPointsCount() const { return pivotPoints_ ? pivotPoints_->size() : 0; }
    float* getPivotPoints(int combination) const { return static_cast<float*>((*pivotPoints_)[combination]); }

private:
    int col_ = 0;
    int row_ = 0;
    PivotManager* pivotManager_ = nullptr;
    ObjectArray* pivotPoints_ = nullptr;  // float arrays, owned
};

}  // namespace mesh2d
