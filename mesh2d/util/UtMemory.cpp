#include "mesh2d/util/UtMemory.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "mesh2d/memory/APageHeader.h"
#include "mesh2d/memory/LDAllocator.h"
#include "mesh2d/memory/LDObject.h"
#include "mesh2d/memory/LDUnmanagedObject.h"
#include "mesh2d/memory/MemoryHolderSocket.h"
#include "mesh2d/memory/MemoryInfoSet.h"
#include "mesh2d/memory/MemoryParam.h"
#include "mesh2d/memory/fixed/MemoryHolderFixed.h"
#include "mesh2d/memory/tmp/MHPageHeaderTmp.h"
#include "mesh2d/memory/tmp/MemoryHolderTmp.h"
#include "mesh2d/util/UtDebug.h"

namespace mesh2d {
namespace {

// Process-wide state of the memory layer; the runtime is single-threaded.
LDAllocator* g_allocator = nullptr;
MemoryHolderTmp* g_tmpHolder = nullptr;
MemoryHolderSocket* g_socket = nullptr;
MemoryParam* g_tmpParam = nullptr;
MemoryHolderFixed* g_staticHolder = nullptr;
MemoryParam* g_staticParam = nullptr;
int g_livePages = 0;
int g_totalPages = 0;
int g_lastLeakCount = 0;

MemoryInfoSet g_localInfo("local");
MemoryInfoSet g_allocatorInfo("allocator");

constexpr int kStaticPageSize = 4096;
constexpr int kLeaksPerLine = 20;

bool keepRecords() { return UtDebug::hasMemoryDebugFlag(UtDebug::MEMORY_DEBUG_MEMORY_INFO_COUNT); }
bool keepFreed() { return UtDebug::hasExtraDebugFlag(UtDebug::MEMORY_DEBUG_KEEP_FREED); }

// Builds an object inside a chunk of the tmp holder itself (the socket and
// the tmp parameter exist before any parameter could serve them).
template <typename T, typename... Args>
T* constructInTmp(Args... args)
{
    void* chunk = g_tmpHolder->malloc(sizeof(T), alignof(T));
    return chunk ? ::new (chunk) T(args...) : nullptr;
}

template <typename T>
void destroyInTmp(T*& object)
{
    if (!object) return;
    object->~T();
    g_tmpHolder->free(UtMemory::getPageHeader(object), object);
    object = nullptr;
}

void printRecordSummary(const MemoryInfoSet& info)
{
    UtDebug::print("[%s] remaining %d / total %d , using %ld bytes , peak %ld KB , total %ld KB", info.getName(),
                   info.getCurCount(), info.getTotalCount(), info.getCurBytes(), info.getPeakBytes() / 1024,
                   info.getTotalBytes() / 1024);
}

void printSummary()
{
    UtDebug::print("----------------- Mesh2D Memory Info -----------------");
    if (!g_localInfo.hasLive() && !g_allocatorInfo.hasLive()) {
        UtDebug::print("Successfully cleaned (no memory leaks found). \n");
    } else {
        UtDebug::print("Warning! memory leaks found!!\n");
    }
    printRecordSummary(g_localInfo);
    printRecordSummary(g_allocatorInfo);
    UtDebug::print("LDObject instances %d / total %d", LDObject::getInstanceCount(), LDObject::getTotalCount());
    UtDebug::print("LDUnmanagedObject instances %d / total %d", LDUnmanagedObject::getInstanceCount(),
                   LDUnmanagedObject::getTotalCount());
    UtDebug::print("------------------------------------------------------");
}

void printLeaks(const MemoryInfoSet& info)
{
    UtDebug::print("=====================     MEMORY LEAKS     =====================");
    UtDebug::dump("[%s]\n  ", info.getName());
    int n = 0;
    for (const MemoryInfo* leak = info.getLiveList(); leak; leak = leak->next) {
        UtDebug::dump("[no.%d %p] ", leak->serial, leak->address);
        if (++n % kLeaksPerLine == 0) UtDebug::dump("\n  ");
    }
    UtDebug::dump("\n");
    UtDebug::print("//for memory debugging , call below before Mesh2D::init() ; (DEBUG mode only)");
    UtDebug::print("//  mesh2d::UtDebug::addMemoryDebugFlags( mesh2d::UtDebug::MEMORY_DEBUG_MEMORY_INFO_ALL ) ;");
    UtDebug::print("================================================================");
}

}  // namespace

void* UtMemory::pageAlloc(std::size_t size, int allocType)
{
    void* ptr = nullptr;
    if (g_allocator) {
        ptr = g_allocator->pageAlloc(size, allocType);
    } else if (posix_memalign(&ptr, MHPageHeaderTmp::HEADER_ALIGN, size) != 0) {
        ptr = nullptr;
    }
    if (!ptr) return nullptr;
    ++g_livePages;
    ++g_totalPages;
    if (UtDebug::hasMemoryDebugFlag(UtDebug::MEMORY_DEBUG_TRACE_ALLOCATOR)) {
        UtDebug::print("allocator_malloc [count %3d / tota %3d]\t%p\t/ size %d / type %d", g_livePages, g_totalPages,
                       ptr, static_cast<int>(size), allocType);
    }
    if (keepRecords()) g_allocatorInfo.addInfo(ptr, size, nullptr, 0);
    return ptr;
}

void UtMemory::pageFree(void* ptr, int allocType)
{
    if (!ptr) return;
    --g_livePages;
    if (UtDebug::hasMemoryDebugFlag(UtDebug::MEMORY_DEBUG_TRACE_ALLOCATOR)) {
        UtDebug::print("           allocator_free [count %3d]\t%p", g_livePages, ptr);
    }
    if (keepRecords()) g_allocatorInfo.removeInfo(ptr, keepFreed());
    if (g_allocator) {
        g_allocator->pageFree(ptr, allocType);
    } else {
        std::free(ptr);
    }
}

void* UtMemory::malloc(MemoryParam* param, std::size_t size, const char* file, int line)
{
    if (!param) param = g_tmpParam;
    if (!param || !param->getCurMemoryHolder()) {
        UtDebug::error("no memory holder for %d bytes (call Mesh2D::init() first) @UtMemory::malloc() [ %s @ %d ]",
                       static_cast<int>(size), file ? file : "", line);
        return nullptr;
    }
    void* ptr = param->getCurMemoryHolder()->malloc(size, param->getAllocAlign());
    if (ptr && keepRecords()) g_localInfo.addInfo(ptr, size, file, line);
    return ptr;
}

void UtMemory::free(void* ptr, const char*, int)
{
    if (!ptr) return;
    if (keepRecords()) g_localInfo.removeInfo(ptr, keepFreed());
    getPageHeader(ptr)->free(ptr);
}

void* UtMemory::placementNew_debug(void* ptr, const char* file, int line)
{
    if (UtDebug::hasMemoryDebugFlag(UtDebug::MEMORY_DEBUG_TRACE_PLACEMENT)) {
        UtDebug::print("UtMemory::placementNew_debug\t%p\t[ %s @ %d ]", ptr, file ? file : "", line);
    }
    return ptr;
}

void UtMemory::setAllocator(LDAllocator* allocator)
{
    if (allocator == g_allocator) return;
    if (g_livePages > 0) {
        // Pages handed out by one allocator must return to the same one.
        UtDebug::print("Warning!! setAllocator() called after malloc . Call before Mesh2D::init() or "
                       "UtMemory::setAllocator()");
        return;
    }
    g_allocator = allocator;
}

LDAllocator* UtMemory::getAllocator() { return g_allocator; }

APageHeader* UtMemory::getPageHeader(void* ptr)
{
    std::uint32_t distance;
    std::memcpy(&distance, static_cast<char*>(ptr) - 4, sizeof distance);
    return reinterpret_cast<APageHeader*>(static_cast<char*>(ptr) - distance);
}

void UtMemory::setPageHeader(void* ptr, APageHeader* header)
{
    const auto distance = static_cast<std::uint32_t>(static_cast<char*>(ptr) - reinterpret_cast<char*>(header));
    std::memcpy(static_cast<char*>(ptr) - 4, &distance, sizeof distance);
}

MemoryParam* UtMemory::getTmpMemoryParam() { return g_tmpParam; }
MemoryParam* UtMemory::getStaticMemoryParam() { return g_staticParam; }
MemoryHolderTmp* UtMemory::getTmpMemoryHolder() { return g_tmpHolder; }
int UtMemory::getLivePageCount() { return g_livePages; }
int UtMemory::getLastLeakCount() { return g_lastLeakCount; }

bool UtMemory::staticInit(LDAllocator* allocator)
{
    if (allocator) allocator->init();
    g_localInfo.reset();
    g_allocatorInfo.reset();
    setAllocator(allocator);
    if (allocator && g_allocator != allocator) allocator->dispose();  // refused: balance its init

    g_tmpHolder = LD_UNMANAGED_NEW MemoryHolderTmp(0, "global-tmp");
    if (!g_tmpHolder) return false;
    g_socket = constructInTmp<MemoryHolderSocket>(g_tmpHolder);
    if (g_socket) g_tmpParam = constructInTmp<MemoryParam>(static_cast<AMemoryHolder*>(g_socket),
                                                           static_cast<AMemoryHolder*>(nullptr));
    if (g_tmpParam) g_staticHolder = LD_NEW(g_tmpParam) MemoryHolderFixed(0, "global-static", kStaticPageSize);
    if (g_staticHolder) g_staticParam = LD_NEW(g_tmpParam) MemoryParam(g_staticHolder, nullptr);
    return g_staticParam != nullptr;
}

void UtMemory::staticRelease()
{
    delete g_staticParam;
    g_staticParam = nullptr;
    if (g_tmpHolder) destroyInTmp(g_tmpParam);
    delete g_staticHolder;
    g_staticHolder = nullptr;
    if (g_tmpHolder) destroyInTmp(g_socket);
    delete g_tmpHolder;
    g_tmpHolder = nullptr;

    if (keepRecords()) printSummary();
    g_lastLeakCount = g_localInfo.getCurCount();
    if (g_localInfo.hasLive()) printLeaks(g_localInfo);
    g_localInfo.reset();
    g_allocatorInfo.reset();

    LDAllocator* allocator = g_allocator;
    g_allocator = nullptr;
    if (allocator) allocator->dispose();
}

}  // namespace mesh2d
