#pragma once
#include "mesh2d/util/json/String.h"

namespace mesh2d::json {

class Error : public String {
public:
    Error(MemoryParam* param, const char* message, bool isStatic);
    ~Error() override = default;

    bool isError() const override { return true; }
    bool isStatic() const override { return static_; }
    Value* setError(const char* message) override;

private:
    bool static_;
};

}  // namespace mesh2d::json
