#pragma once
// The definition of one model parameter: its range and default value.
#include "mesh2d/io/ISerializableV2.h"

namespace mesh2d {

class ParamID;

class ParamDefFloat : public ISerializableV2 {
public:
    ParamDefFloat() = default;
    ~ParamDefFloat() override = default;

    void read(BReader& br, MemoryParam* param) override;

    float getMinValue() const { return minValue_; }
    float getMaxValue() const { return maxValue_; }
    float getDefaultValue() const { return defaultValue_; }
    ParamID* getParamID() const { return paramId_; }

private:
    float minValue_ = 0;
    float maxValue_ = 0;
    float defaultValue_ = 0;
    ParamID* paramId_ = nullptr;  // interned, not owned
};

}  // namespace mesh2d
