#include "mesh2d/memory/fixed/MemoryHolderFixed.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "mesh2d/memory/AlignUtil.h"
#include "mesh2d/memory/fixed/MHPageHeaderFixed.h"
#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {
namespace {

int g_holderSerial = 0;
int g_pageSerial = 0;

// The page word before a chunk takes 4 bytes.
constexpr int kWord = 4;

char* chunkFor(MHPageHeaderFixed* page, int align) { return alignUp(page->cursor + kWord, align); }

bool fits(MHPageHeaderFixed* page, std::size_t size, int align)
{
    const char* p = chunkFor(page, align);
    return p <= page->endPtr && static_cast<std::size_t>(page->endPtr - p) >= size;
}

bool traceOn() { return UtDebug::hasMemoryDebugFlag(UtDebug::MEMORY_DEBUG_TRACE_FIXED); }

}  // namespace

MemoryHolderFixed::MemoryHolderFixed(int allocType, const char* name, int pageSize)
    : MemoryHolderFixed(allocType, name, pageSize, defaultAllocationMode())
{
}

MemoryHolderFixed::MemoryHolderFixed(int allocType, const char* name, int pageSize, AllocationMode mode)
    : allocType_(allocType), serial_(++g_holderSerial), pageSize_(pageSize), mode_(mode)
{
    std::snprintf(name_, sizeof name_, "%s", name ? name : "");
}

MemoryHolderFixed::~MemoryHolderFixed() { clear(); }

void* MemoryHolderFixed::malloc(std::size_t size, int align)
{
    if (size > kMaxChunkBytes) {
        UtDebug::error("request of %zu bytes refused @MemoryHolderFixed#malloc() <%s>", size, name_);
        return nullptr;
    }
    align = std::max(align, kMinChunkAlign);
    if (mode_ == AllocationMode::ChunkPerAllocation) return mallocSeparate(size, align);

    MHPageHeaderFixed* prev = nullptr;
    MHPageHeaderFixed* page = findPage(size, align, &prev);
    if (!page) {
        page = createPage(size, align);
        if (!page) return nullptr;
        prev = nullptr;
    }
    char* p = chunkFor(page, align);
    UtMemory::setPageHeader(p, page);
    page->cursor = p + size;
    page->remaining = static_cast<int>(page->endPtr - page->cursor);
    placeAfterUse(page, prev);
    LD_ASSERT(isAligned(p, align));
    if (traceOn()) {
        UtDebug::print("fixed / malloc <%s [%d]> :: size %4d / %p", name_, serial_, static_cast<int>(size),
                       static_cast<void*>(p));
    }
    return p;
}

// The fitting page with the least room: the list is sorted largest first, so
// walk on while the next page still fits.
MHPageHeaderFixed* MemoryHolderFixed::findPage(std::size_t size, int align, MHPageHeaderFixed** prev)
{
    MHPageHeaderFixed* cur = roomPages_;
    if (!cur || !fits(cur, size, align)) return nullptr;
    while (cur->next && fits(cur->next, size, align)) {
        *prev = cur;
        cur = cur->next;
    }
    return cur;
}

MHPageHeaderFixed* MemoryHolderFixed::createPage(std::size_t size, int align)
{
    const std::size_t want =
        std::max(static_cast<std::size_t>(pageSize_), size + static_cast<std::size_t>(align) + 68);
    void* raw = UtMemory::pageAlloc(want, allocType_);
    if (!raw) {
        UtDebug::errorAt(__FILE__, __LINE__, "create new page for fixed failed %d", static_cast<int>(want));
        return nullptr;
    }
    auto* page = ::new (raw) MHPageHeaderFixed(static_cast<int>(want), ++g_pageSerial);
    page->cursor = alignUp(page->start() + MHPageHeaderFixed::HEADER_AREA, align) - kWord;
    page->remaining = static_cast<int>(page->endPtr - page->cursor);
    page->next = roomPages_;
    roomPages_ = page;
    if (traceOn()) {
        UtDebug::print("************ fixed / page fixed[%3d]( pageSize : %4d / malloc size : %4d ) *************",
                       page->serial, static_cast<int>(want), static_cast<int>(size));
    }
    return page;
}

// Keeps the room list sorted after the page lost bytes; a page with 31 bytes
// or fewer left goes to the full list and is never searched again.
void MemoryHolderFixed::placeAfterUse(MHPageHeaderFixed* page, MHPageHeaderFixed* prev)
{
    (prev ? prev->next : roomPages_) = page->next;
    page->next = nullptr;
    if (page->remaining <= FULL_THRESHOLD) {
        page->next = fullPages_;
        fullPages_ = page;
        return;
    }
    // Pages before the old position all have more room than the page now has.
    MHPageHeaderFixed* pos = prev;
    MHPageHeaderFixed* cur = prev ? prev->next : roomPages_;
    while (cur && cur->remaining > page->remaining) {
        pos = cur;
        cur = cur->next;
    }
    page->next = cur;
    (pos ? pos->next : roomPages_) = page;
}

// One page per chunk, sized so the chunk ends exactly where the allocation
// ends (system pages start on 32-byte boundaries).
void* MemoryHolderFixed::mallocSeparate(std::size_t size, int align)
{
    const bool exact = align <= 32 && !UtMemory::getAllocator();
    const std::size_t want = MHPageHeaderFixed::HEADER_AREA + (exact ? 0 : static_cast<std::size_t>(align)) + size;
    void* raw = UtMemory::pageAlloc(want, allocType_);
    if (!raw) {
        UtDebug::errorAt(__FILE__, __LINE__, "create new page for fixed failed %d", static_cast<int>(want));
        return nullptr;
    }
    auto* page = ::new (raw) MHPageHeaderFixed(static_cast<int>(want), ++g_pageSerial);
    char* p = alignUp(page->start() + MHPageHeaderFixed::HEADER_AREA, align);
    UtMemory::setPageHeader(p, page);
    page->cursor = p + size;
    page->remaining = static_cast<int>(page->endPtr - page->cursor);
    page->next = fullPages_;
    fullPages_ = page;
    LD_ASSERT(isAligned(p, align));
    return p;
}

void MemoryHolderFixed::free(APageHeader*, void* ptr)
{
    if (traceOn()) UtDebug::print("           fixed / free <%s [%d]> :: ptr %p", name_, serial_, ptr);
}

void MemoryHolderFixed::releaseList(MHPageHeaderFixed*& head)
{
    while (head) {
        MHPageHeaderFixed* next = head->next;
        UtMemory::pageFree(head, allocType_);
        head = next;
    }
}

void MemoryHolderFixed::clear()
{
    releaseList(roomPages_);
    releaseList(fullPages_);
}

void MemoryHolderFixed::checkPageHeaders()
{
    for (MHPageHeaderFixed* list : {roomPages_, fullPages_}) {
        for (MHPageHeaderFixed* page = list; page; page = page->next) {
            if (page->endPtr - page->start() != page->pageSize) {
                UtDebug::error("PageHeader is corrupted!");
                std::abort();
            }
        }
    }
}

}  // namespace mesh2d
