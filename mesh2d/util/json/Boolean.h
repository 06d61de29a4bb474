#pragma once
#include "mesh2d/util/json/Value.h"

namespace mesh2d::json {

class Boolean : public Value {
public:
    explicit Boolean(bool value) : value_(value) {}
    ~Boolean() override = default;

    LDString toString() const override { return LDString(toChars()); }
    const char* toChars() const override { return value_ ? "true" : "false"; }
    bool toBoolean(bool) const override { return value_; }
    bool isBoolean() const override { return true; }
    bool isStatic() const override { return true; }
    bool equals(bool value) const override { return value_ == value; }
    using Value::equals;

private:
    bool value_;
};

}  // namespace mesh2d::json
