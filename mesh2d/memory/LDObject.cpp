#include "mesh2d/memory/LDObject.h"

#include "mesh2d/util/UtMemory.h"

namespace mesh2d {
namespace {
int g_instanceCount = 0;
int g_totalCount = 0;
}  // namespace

LDObject::LDObject()
{
    ++g_instanceCount;
    ++g_totalCount;
}

LDObject::LDObject(const LDObject&) : LDObject() {}

LDObject::~LDObject() { --g_instanceCount; }

void* LDObject::operator new(std::size_t size, MemoryParam* param, const char* file, int line) noexcept
{
    return UtMemory::malloc(param, size, file, line);
}

void* LDObject::operator new(std::size_t size) noexcept
{
    return UtMemory::malloc(nullptr, size, nullptr, 0);
}

void LDObject::operator delete(void* ptr) noexcept { UtMemory::free(ptr); }

void LDObject::operator delete(void* ptr, MemoryParam*, const char* file, int line) noexcept
{
    UtMemory::free(ptr, file, line);
}

int LDObject::getInstanceCount() { return g_instanceCount; }
int LDObject::getTotalCount() { return g_totalCount; }

}  // namespace mesh2d
