#include "mesh2d/util/json/String.h"

namespace mesh2d::json {

String::String(MemoryParam* param, const LDString& text) : param_(param), text_(text, param) {}

String::String(MemoryParam* param, const char* text) : param_(param), text_(text, param) {}

}  // namespace mesh2d::json
