#include "mesh2d/id/ID.h"

#include "mesh2d/id/BaseDataID.h"
#include "mesh2d/id/DrawDataID.h"
#include "mesh2d/id/ParamID.h"
#include "mesh2d/id/PartsDataID.h"
#include "mesh2d/memory/MemoryParam.h"
#include "mesh2d/memory/fixed/MemoryHolderFixed.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {
namespace {

constexpr int kIDPageSize = 2048;

MemoryHolderFixed* g_idHolder = nullptr;
MemoryParam* g_idParam = nullptr;

}  // namespace

ID::ID(const char* bytes, int length) : name_(bytes, length, g_idParam) {}

MemoryParam* ID::getIDMemoryParam() { return g_idParam; }

bool ID::createHolder()
{
    MemoryParam* param = UtMemory::getStaticMemoryParam();
    if (!param || g_idHolder) return g_idHolder != nullptr;
    g_idHolder = LD_NEW(param) MemoryHolderFixed(0, "ID", kIDPageSize);
    if (g_idHolder) g_idParam = LD_NEW(param) MemoryParam(g_idHolder, nullptr);
    return g_idParam != nullptr;
}

void ID::releaseAll()
{
    ParamID::releaseStored();
    BaseDataID::releaseStored();
    DrawDataID::releaseStored();
    PartsDataID::releaseStored();
    delete g_idParam;
    g_idParam = nullptr;
    delete g_idHolder;
    g_idHolder = nullptr;
}

}  // namespace mesh2d
