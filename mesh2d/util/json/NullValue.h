#pragma once
#include "mesh2d/util/json/Value.h"

namespace mesh2d::json {

class NullValue : public Value {
public:
    NullValue() = default;
    ~NullValue() override = default;

    LDString toString() const override { return LDString("NullValue"); }
    const char* toChars() const override { return "NullValue"; }
    bool isNull() const override { return true; }
    bool isStatic() const override { return true; }
};

}  // namespace mesh2d::json
