#pragma once
// The parameter definitions of a model, in file order. Owns them.
#include "mesh2d/io/BReader.h"
#include "mesh2d/io/ISerializableV2.h"

namespace mesh2d {

class ParamDefFloat;

class ParamDefSet : public ISerializableV2 {
public:
    ParamDefSet() = default;
    ~ParamDefSet() override;

    void read(BReader& br, MemoryParam* param) override;
    // An empty definition list (for a model made without a file).
    bool initDirect(MemoryParam* param);

    int getParamDefFloatCount() const { return paramDefList_ ? paramDefList_->size() : 0; }
    ParamDefFloat* getParamDefFloat(int index) const;
    ObjectArray* getParamDefList() const { return paramDefList_; }

private:
    ObjectArray* paramDefList_ = nullptr;
};

}  // namespace mesh2d
