#include "mesh2d/memory/LDUnmanagedObject.h"

#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {
namespace {
int g_instanceCount = 0;
int g_totalCount = 0;
int g_newCount = 0;  // numbers the unmanaged allocations in traces

void* unmanagedNew(std::size_t size, const char* file, int line)
{
    void* ptr = UtMemory::pageAlloc(size, 0);
    ++g_newCount;
    if (UtDebug::hasMemoryDebugFlag(UtDebug::MEMORY_DEBUG_TRACE_UNMANAGED)) {
        UtDebug::print("Unmanaged new [%03d] :: size %4d / %p  [ %s @ %d ]", g_newCount, static_cast<int>(size),
                       ptr, file ? file : "", line);
    }
    return ptr;
}

void unmanagedDelete(void* ptr, const char* file, int line)
{
    if (!ptr) return;
    if (UtDebug::hasMemoryDebugFlag(UtDebug::MEMORY_DEBUG_TRACE_UNMANAGED)) {
        UtDebug::print("           Unmanaged delete [%03d] :: %p  [ %s @ %d ]", g_newCount, ptr, file ? file : "",
                       line);
    }
    UtMemory::pageFree(ptr, 0);
}

}  // namespace

LDUnmanagedObject::LDUnmanagedObject()
{
    ++g_instanceCount;
    ++g_totalCount;
}

LDUnmanagedObject::LDUnmanagedObject(const LDUnmanagedObject&) : LDUnmanagedObject() {}

LDUnmanagedObject::~LDUnmanagedObject() { --g_instanceCount; }

void* LDUnmanagedObject::operator new(std::size_t size, const char* file, int line) noexcept
{
    return unmanagedNew(size, file, line);
}

void* LDUnmanagedObject::operator new(std::size_t size) noexcept { return unmanagedNew(size, nullptr, 0); }

void LDUnmanagedObject::operator delete(void* ptr) noexcept { unmanagedDelete(ptr, nullptr, 0); }

void LDUnmanagedObject::operator delete(void* ptr, const char* file, int line) noexcept
{
    unmanagedDelete(ptr, file, line);
}

int LDUnmanagedObject::getInstanceCount() { return g_instanceCount; }
int LDUnmanagedObject::getTotalCount() { return g_totalCount; }

}  // namespace mesh2d
