#include "mesh2d/memory/tmp/MemoryHolderTmp.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "mesh2d/memory/AlignUtil.h"
#include "mesh2d/memory/tmp/MHPageHeaderTmp.h"
#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {
namespace {

int g_holderSerial = 0;

struct BinShape {
    int chunkSize;
    int pageSize;
};
// Bins 0..4; bin 5 takes any larger request, one chunk per page.
constexpr BinShape kBins[MemoryHolderTmp::VARIABLE_BIN] = {
    {32, 2144}, {64, 2144}, {128, 2144}, {256, 4192}, {512, 4192}};

constexpr int kWord = 4;             // the page word before each chunk
constexpr int kVariableExtra = 100;  // bin 5 page: request + 100

bool traceOn() { return UtDebug::hasMemoryDebugFlag(UtDebug::MEMORY_DEBUG_TRACE_TMP); }

void pushFront(MHPageHeaderTmp*& head, MHPageHeaderTmp* page)
{
    page->next = head;
    head = page;
}

bool unlink(MHPageHeaderTmp*& head, MHPageHeaderTmp* page)
{
    for (MHPageHeaderTmp** link = &head; *link; link = &(*link)->next) {
        if (*link == page) {
            *link = page->next;
            page->next = nullptr;
            return true;
        }
    }
    return false;
}

}  // namespace

MemoryHolderTmp::MemoryHolderTmp(int allocType, const char* name)
    : MemoryHolderTmp(allocType, name, defaultAllocationMode())
{
}

MemoryHolderTmp::MemoryHolderTmp(int allocType, const char* name, AllocationMode mode)
    : allocType_(allocType), serial_(++g_holderSerial), mode_(mode)
{
    std::snprintf(name_, sizeof name_, "%s", name ? name : "");
    for (int i = 0; i < VARIABLE_BIN; ++i) bins_[i].init(i, kBins[i].chunkSize, kBins[i].pageSize);
    bins_[VARIABLE_BIN].init(VARIABLE_BIN, 0, 0);
}

MemoryHolderTmp::~MemoryHolderTmp() { clear(); }

int MemoryHolderTmp::binFor(std::size_t size)
{
    for (int i = 0; i < VARIABLE_BIN; ++i) {
        if (static_cast<std::size_t>(kBins[i].chunkSize) >= size + kWord) return i;
    }
    return VARIABLE_BIN;
}

void* MemoryHolderTmp::malloc(std::size_t size, int align)
{
    align = std::max(align, kMinChunkAlign);
    // Chunks start at header + 64 + i × (a multiple of 32) on a 32-byte boundary.
    if (size > kMaxChunkBytes || align > MHPageHeaderTmp::HEADER_ALIGN) {
        UtDebug::error("request of %zu bytes (align %d) refused @MemoryHolderTmp#malloc() <%s>", size, align, name_);
        return nullptr;
    }
    if (mode_ == AllocationMode::ChunkPerAllocation) return mallocSeparate(size);

    const int b = binFor(size);
    MHBin& bin = bins_[b];
    const int n = b < VARIABLE_BIN ? bin.chunkSize : static_cast<int>(size) + kWord;

    MHPageHeaderTmp* page = nullptr;
    int index = -1;
    for (MHPageHeaderTmp* cur = bin.roomPages; cur; cur = cur->next) {
        if (b == VARIABLE_BIN && cur->chunkSize < n) continue;
        index = cur->getFirstEmptyIndexAndSetFlag(bin);
        if (index >= 0) {
            page = cur;
            break;
        }
    }
    if (page) {
        if (page->emptyCount == 0) {
            unlink(bin.roomPages, page);
            pushFront(bin.fullPages, page);
        }
    } else {
        const int pageSize = std::max(b < VARIABLE_BIN ? bin.pageSize : static_cast<int>(size) + kVariableExtra,
                                      n + MHPageHeaderTmp::PAGE_OVERHEAD);
        page = createPage(bin, n, pageSize, MHBin::chunksFor(pageSize, n));
        if (!page) return nullptr;
        index = page->getFirstEmptyIndexAndSetFlag(bin);
        pushFront(page->emptyCount == 0 ? bin.fullPages : bin.roomPages, page);
    }

    char* ptr = page->chunk(index);
    UtMemory::setPageHeader(ptr, page);
    LD_ASSERT(isAligned(ptr, align));
    if (traceOn()) {
        UtDebug::print("tmp / malloc <%s [%d]> :: size %4d / %p", name_, serial_, static_cast<int>(size),
                       static_cast<void*>(ptr));
        dumpBins();
    }
    return ptr;
}

MHPageHeaderTmp* MemoryHolderTmp::createPage(MHBin& bin, int chunkSize, int pageSize, int chunkCount)
{
    LD_ASSERT(chunkCount > 0 && chunkCount <= MHPageHeaderTmp::MAX_CHUNKS);
    char* raw = static_cast<char*>(UtMemory::pageAlloc(static_cast<std::size_t>(pageSize), allocType_));
    if (!raw) {
        // The runtime stopped here; a refused request is enough, callers see null.
        UtDebug::errorAt(__FILE__, __LINE__, "create new page for tmp failed %d", pageSize);
        return nullptr;
    }
    char* head = alignUp(raw, MHPageHeaderTmp::HEADER_ALIGN);
    auto* page = ::new (head)
        MHPageHeaderTmp(this, chunkCount, chunkSize, pageSize, static_cast<int>(head - raw), bin.binNo);
    if (traceOn()) {
        UtDebug::print("================== tmp / createNewPage (size : %d) raw %p / head %p", pageSize,
                       static_cast<void*>(raw), static_cast<void*>(head));
    }
    return page;
}

// A one-chunk page of the variable bin whose chunk ends where the system
// allocation ends (system pages start on 32-byte boundaries; a hook's pages
// may not, so they get the slack).
void* MemoryHolderTmp::mallocSeparate(std::size_t size)
{
    MHBin& bin = bins_[VARIABLE_BIN];
    const int slack = UtMemory::getAllocator() ? MHPageHeaderTmp::HEADER_ALIGN - 1 : 0;
    const int pageSize = MHPageHeaderTmp::HEADER_AREA + static_cast<int>(size) + slack;
    MHPageHeaderTmp* page = createPage(bin, static_cast<int>(size) + kWord, pageSize, 1);
    if (!page) return nullptr;
    const int index = page->getFirstEmptyIndexAndSetFlag(bin);
    pushFront(bin.fullPages, page);
    char* ptr = page->chunk(index);
    UtMemory::setPageHeader(ptr, page);
    if (traceOn()) {
        UtDebug::print("tmp / malloc <%s [%d]> :: size %4d / %p", name_, serial_, static_cast<int>(size),
                       static_cast<void*>(ptr));
    }
    return ptr;
}

void MemoryHolderTmp::free(APageHeader* header, void* ptr)
{
    auto* page = static_cast<MHPageHeaderTmp*>(header);
    LD_ASSERT(page && page->binNo < BIN_COUNT && page->holder == this);
    MHBin& bin = bins_[page->binNo];
    if (traceOn()) UtDebug::print("           tmp / free <%s [%d]> :: ptr %p", name_, serial_, ptr);

    const long offset = static_cast<char*>(ptr) - page->chunk(0);
    const long index = page->chunkSize == 0 ? 0 : offset / page->chunkSize;
    LD_ASSERT(offset >= 0 && index < page->chunkCount);
    LD_ASSERT(page->chunkSize == 0 || offset % page->chunkSize == 0);
    LD_ASSERT(page->isUsed(static_cast<int>(index)));  // freed twice otherwise
    LD_ASSERT(page->emptyCount < page->chunkCount);

    const bool wasFull = page->emptyCount == 0;
    page->clearUsed(static_cast<int>(index));
    ++page->emptyCount;

    if (page->emptyCount == page->chunkCount && releaseIfSpare(bin, page)) {
        // released
    } else if (wasFull) {
        LD_ASSERT(unlink(bin.fullPages, page));
        pushFront(bin.roomPages, page);
    }
    if (traceOn()) dumpBins();
}

// An empty page goes back to the system when the bin's other pages with room
// already offer at least half a page of free chunks.
bool MemoryHolderTmp::releaseIfSpare(MHBin& bin, MHPageHeaderTmp* page)
{
    int spare = 0;
    for (MHPageHeaderTmp* cur = bin.roomPages; cur; cur = cur->next) {
        if (cur != page) spare += cur->emptyCount;
    }
    if (spare < page->chunkCount / 2) return false;
    releasePage(bin, page);
    return true;
}

void MemoryHolderTmp::releasePage(MHBin& bin, MHPageHeaderTmp* page)
{
    const bool found = unlink(bin.roomPages, page) || unlink(bin.fullPages, page);
    LD_ASSERT(found);
    if (traceOn()) {
        UtDebug::print("              ================== tmp / detete page / raw %p / head %p",
                       static_cast<void*>(page->raw()), static_cast<void*>(page));
    }
    UtMemory::pageFree(page->raw(), allocType_);
}

void MemoryHolderTmp::clear()
{
    for (MHBin& bin : bins_) {
        for (MHPageHeaderTmp* list : {bin.roomPages, bin.fullPages}) {
            while (list) {
                MHPageHeaderTmp* next = list->next;
                UtMemory::pageFree(list->raw(), allocType_);
                list = next;
            }
        }
        bin.roomPages = nullptr;
        bin.fullPages = nullptr;
    }
}

void MemoryHolderTmp::dumpBins() const
{
    for (const MHBin& bin : bins_) {
        int room = 0;
        int full = 0;
        int empty = 0;
        for (const MHPageHeaderTmp* p = bin.roomPages; p; p = p->next, ++room) empty += p->emptyCount;
        for (const MHPageHeaderTmp* p = bin.fullPages; p; p = p->next) ++full;
        UtDebug::print("   bin[%d] chunk %4d : pages with room %d (empty chunks %d) / full pages %d", bin.binNo,
                       bin.chunkSize, room, empty, full);
    }
}

}  // namespace mesh2d
