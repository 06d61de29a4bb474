#pragma once
// The rotate-scale-translate deformer: one AffineEnt per pivot combination.
#include "mesh2d/base/IBaseData.h"
#include "mesh2d/io/BReader.h"

namespace mesh2d {

class AffineEnt;

class BDAffine : public IBaseData {
public:
    BDAffine() = default;
    ~BDAffine() override;

    void read(BReader& br, MemoryParam* param) override;
    int getType() const override { return TYPE_BD_AFFINE; }
    PivotManager* getPivotManager() const override { return pivotManager_; }

    IBaseContext* createContext(ModelContext* mdc) override;
    void interpolate(ModelContext* mdc, IBaseContext* cdata) override;
    void applyParent(ModelContext* mdc, IBaseContext* cdata) override;
    void transformPoints(ModelContext* mdc, IBaseContext* cdata, float* srcPoints, float* dstPoints, int numPoint,
                         int ptOffset, int ptStep) override;
    void dump() override;

    int getAffineCount() const { return affines_ ? affines_->size() : 0; }
    AffineEnt* getAffine(int combination) const;

private:
    PivotManager* pivotManager_ = nullptr;
    ObjectArray* affines_ = nullptr;  // AffineEnt, owned
};

}  // namespace mesh2d
