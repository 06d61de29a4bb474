#include "mesh2d/util/json/Error.h"

namespace mesh2d::json {

Error::Error(MemoryParam* param, const char* message, bool isStatic) : String(param, message), static_(isStatic) {}

Value* Error::setError(const char* message)
{
    text_ = message;
    return this;
}

}  // namespace mesh2d::json
