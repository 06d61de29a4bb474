#include "mesh2d/util/json/Value.h"

#include "mesh2d/util/UtMemory.h"
#include "mesh2d/util/json/Boolean.h"
#include "mesh2d/util/json/Error.h"
#include "mesh2d/util/json/NullValue.h"

namespace mesh2d::json {
namespace {

Boolean* g_true = nullptr;
Boolean* g_false = nullptr;
Error* g_error = nullptr;
NullValue* g_null = nullptr;
LDVector<LDString>* g_emptyKeys = nullptr;

}  // namespace

Value* Value::getByIndex(int)
{
    return g_error ? g_error->setError("Error:type mismatch") : nullptr;
}

Value* Value::getByKey(const LDString&)
{
    return g_error ? g_error->setError("Error:type mismatch") : nullptr;
}

LDVector<LDString>* Value::getKeys() { return g_emptyKeys; }

Value* Value::setError(const char*) { return g_error; }

bool Value::createConstants()
{
    MemoryParam* param = UtMemory::getStaticMemoryParam();
    if (!param) return false;
    g_true = LD_NEW(param) Boolean(true);
    g_false = LD_NEW(param) Boolean(false);
    g_error = LD_NEW(param) Error(param, "ERROR", true);
    g_null = LD_NEW(param) NullValue();
    g_emptyKeys = LD_NEW(param) LDVector<LDString>(param);
    return g_true && g_false && g_error && g_null && g_emptyKeys;
}

void Value::releaseConstants()
{
    delete g_true;
    g_true = nullptr;
    delete g_false;
    g_false = nullptr;
    delete g_error;
    g_error = nullptr;
    delete g_null;
    g_null = nullptr;
    delete g_emptyKeys;
    g_emptyKeys = nullptr;
}

Value* Value::sharedError() { return g_error; }
Value* Value::sharedNull() { return g_null; }
Value* Value::sharedTrue() { return g_true; }
Value* Value::sharedFalse() { return g_false; }
LDVector<LDString>* Value::sharedEmptyKeys() { return g_emptyKeys; }

}  // namespace mesh2d::json
