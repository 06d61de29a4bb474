#include "live2d/util/json/String.h"

namespace live2d::json {

String::String(MemoryParam* param, const LDString& text) : param_(param), text_(text, param) {}

String::String(MemoryParam* param, const char* text) : param_(param), text_(text, param) {}

}  // namespace live2d::json
