#pragma once
// The runtime's memory layer: raw pages through the optional allocator hook,
// chunks through memory parameters, and the process-wide tmp and static
// holders that Mesh2D::init builds and Mesh2D::dispose tears down.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <cstddef>
#include <cstdint>

namespace mesh2d {

class APageHeader;
class LDAllocator;
class MemoryParam;
class MemoryHolderTmp;
class MemoryHolderFixed;
class MemoryHolderSocket;

class UtMemory {
public:
    // Default page size of the per-object fixed holders.
    static constexpr int DEFAULT_PAGE_SIZE = 8192;

    // Raw memory: the hook's, or the system's (on 32-byte boundaries) without one.
    static void* pageAlloc(std::size_t size, int allocType);
    static void pageFree(void* ptr, int allocType);

    // A chunk from the parameter's current holder (null parameter: the tmp
    // parameter). Returns null, with a report, when nothing can serve it.
    static void* malloc(MemoryParam* param, std::size_t size, const char* file, int line);
    // Returns a chunk to its holder; null is ignored.
    static void free(void* ptr, const char* file = nullptr, int line = 0);
    static void* placementNew_debug(void* ptr, const char* file, int line);

    // Installs the hook. Replacing it while pages it did not hand out are still
    // live is refused (they would be freed through the wrong allocator).
    static void setAllocator(LDAllocator* allocator);
    static LDAllocator* getAllocator();

    // The page header of a chunk, read from the word before it.
    static APageHeader* getPageHeader(void* ptr);
    // Writes the word before `ptr` so that it leads back to `header`.
    static void setPageHeader(void* ptr, APageHeader* header);

    static MemoryParam* getTmpMemoryParam();
    static MemoryParam* getStaticMemoryParam();
    static MemoryHolderTmp* getTmpMemoryHolder();

    // Pages currently handed out by pageAlloc and not yet returned.
    static int getLivePageCount();
    // Chunks the leak report named at the last final Mesh2D::dispose (memory
    // records are kept only with MEMORY_DEBUG_MEMORY_INFO_COUNT set).
    static int getLastLeakCount();

    // Called by Mesh2D::init / Mesh2D::dispose only.
    static bool staticInit(LDAllocator* allocator);
    static void staticRelease();
};

}  // namespace mesh2d

#define LD_MALLOC(param, size) ::mesh2d::UtMemory::malloc((param), (size), __FILE__, __LINE__)
#define LD_FREE(ptr) ::mesh2d::UtMemory::free((ptr), __FILE__, __LINE__)
