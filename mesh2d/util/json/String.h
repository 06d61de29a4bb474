#pragma once
#include "mesh2d/util/json/Value.h"

namespace mesh2d::json {

class String : public Value {
public:
    String(MemoryParam* param, const LDString& text);
    String(MemoryParam* param, const char* text);
    ~String() override = default;

    LDString toString() const override { return LDString(text_, param_); }
    const char* toChars() const override { return text_.c_str(); }
    bool isString() const override { return true; }
    bool equals(const LDString& text) const override { return text_ == text; }
    bool equals(const char* text) const override { return text && text_ == text; }
    using Value::equals;

protected:
    MemoryParam* param_;
    LDString text_;
};

}  // namespace mesh2d::json
