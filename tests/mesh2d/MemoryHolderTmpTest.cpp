// The tmp holder's bins, page format and release threshold, exercised in the
// paged layout even in sanitizer builds, plus the one-page-per-chunk layout.
#include <gtest/gtest.h>

#include <ostream>

#include "Mesh2DTestSupport.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "mesh2d/memory/LDAllocator.h"
#include "mesh2d/memory/tmp/MHBin.h"
#include "mesh2d/memory/tmp/MHPageHeaderTmp.h"
#include "mesh2d/memory/tmp/MemoryHolderTmp.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {
namespace {

MHPageHeaderTmp* pageOf(void* p) { return static_cast<MHPageHeaderTmp*>(UtMemory::getPageHeader(p)); }

int listLength(const MHPageHeaderTmp* page)
{
    int n = 0;
    for (; page; page = page->next) ++n;
    return n;
}

struct BinCase {
    size_t size;
    int bin;
};

void PrintTo(const BinCase& c, std::ostream* os) { *os << "size " << c.size; }

class MemoryHolderTmpBins : public ::testing::TestWithParam<BinCase> {};

// A bin serves a request only when size + 4 (the page word) fits its chunk.
TEST_P(MemoryHolderTmpBins, RequestGoesToFirstBinWhoseChunkHoldsSizePlusWord)
{
    const BinCase c = GetParam();
    EXPECT_EQ(MemoryHolderTmp::binFor(c.size), c.bin);
    MemoryHolderTmp holder(0, "bins", AllocationMode::Paged);
    void* p = holder.malloc(c.size, 4);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(pageOf(p)->binNo, c.bin);
    std::memset(p, 0x5A, c.size);
    UtMemory::free(p);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, MemoryHolderTmpBins,
                         ::testing::Values(BinCase{0, 0}, BinCase{28, 0}, BinCase{29, 1}, BinCase{60, 1},
                                           BinCase{61, 2}, BinCase{124, 2}, BinCase{125, 3}, BinCase{252, 3},
                                           BinCase{253, 4}, BinCase{508, 4}, BinCase{509, 5},
                                           BinCase{5000, 5}));

struct ShapeCase {
    int bin;
    int chunkSize;
    int pageSize;
    int chunks;
    uint32_t pattern[3];
};

TEST(MemoryHolderTmp, BinShapesAndFullPatterns)
{
    const ShapeCase cases[] = {
        {0, 32, 2144, 64, {0xFFFFFFFFu, 0xFFFFFFFFu, 0}},
        {1, 64, 2144, 32, {0xFFFFFFFFu, 0, 0}},
        {2, 128, 2144, 16, {0xFFFF0000u, 0, 0}},
        {3, 256, 4192, 16, {0xFFFF0000u, 0, 0}},
        {4, 512, 4192, 8, {0xFF000000u, 0, 0}},
        {5, 0, 0, 1, {0x80000000u, 0, 0}},
    };
    MemoryHolderTmp holder(0, "shapes", AllocationMode::Paged);
    for (const ShapeCase& c : cases) {
        const MHBin& bin = holder.getBin(c.bin);
        EXPECT_EQ(bin.chunkSize, c.chunkSize) << c.bin;
        EXPECT_EQ(bin.pageSize, c.pageSize) << c.bin;
        EXPECT_EQ(bin.chunkCount, c.chunks) << c.bin;
        for (int w = 0; w < 3; ++w) EXPECT_EQ(bin.fullPattern[w], c.pattern[w]) << c.bin << " word " << w;
    }
}

TEST(MemoryHolderTmp, FullPatternsSpanThreeWords)
{
    const struct {
        int chunks;
        uint32_t pattern[3];
    } cases[] = {{33, {0xFFFFFFFFu, 0x80000000u, 0}}, {65, {0xFFFFFFFFu, 0xFFFFFFFFu, 0x80000000u}},
                 {96, {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu}}, {1, {0x80000000u, 0, 0}}};
    for (const auto& c : cases) {
        MHBin bin;
        bin.init(0, 16, c.chunks * 16 + 96);
        EXPECT_EQ(bin.chunkCount, c.chunks);
        for (int w = 0; w < 3; ++w) EXPECT_EQ(bin.fullPattern[w], c.pattern[w]) << c.chunks << " word " << w;
    }
}

TEST(MemoryHolderTmpDeathTest, ChunkCountOutsideOneTo96IsAnAssertion)
{
    MHBin bin;
    EXPECT_RUNTIME_DEATH(bin.init(0, 16, 97 * 16 + 96), "assert ::");
    EXPECT_RUNTIME_DEATH(bin.init(0, 512, 500), "assert ::");
}

TEST(MemoryHolderTmp, ChunksSitAfterThe64ByteHeaderOnA32ByteBoundary)
{
    MemoryHolderTmp holder(0, "layout", AllocationMode::Paged);
    char* a = static_cast<char*>(holder.malloc(20, 4));
    char* b = static_cast<char*>(holder.malloc(20, 4));
    MHPageHeaderTmp* page = pageOf(a);
    ASSERT_EQ(page, pageOf(b));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(page) % 32, 0u);
    EXPECT_EQ(a, reinterpret_cast<char*>(page) + 64);
    EXPECT_EQ(b, reinterpret_cast<char*>(page) + 64 + 32);
    EXPECT_EQ(page->pageSize, 2144);
    EXPECT_EQ(page->chunkCount, 64);
    EXPECT_EQ(page->emptyCount, 62);
    EXPECT_EQ(page->flags[0], 0xC0000000u);  // chunk 0 is the most significant bit
    UtMemory::free(a);
    EXPECT_EQ(page->flags[0], 0x40000000u);
    // The first clear bit is taken again.
    EXPECT_EQ(holder.malloc(1, 4), a);
    UtMemory::free(a);
    UtMemory::free(b);
}

TEST(MemoryHolderTmp, Request508UsesBin4And509GetsAPageOfItsOwnReleasedOnFree)
{
    MemoryHolderTmp holder(0, "variable", AllocationMode::Paged);
    const int before = UtMemory::getLivePageCount();
    void* p508 = holder.malloc(508, 4);
    EXPECT_EQ(pageOf(p508)->binNo, 4);
    EXPECT_EQ(pageOf(p508)->pageSize, 4192);

    void* p509 = holder.malloc(509, 4);
    MHPageHeaderTmp* own = pageOf(p509);
    EXPECT_EQ(own->binNo, 5);
    EXPECT_EQ(own->chunkCount, 1);
    EXPECT_EQ(own->chunkSize, 513);
    EXPECT_EQ(own->pageSize, 609);  // request + 100
    EXPECT_EQ(listLength(holder.getBin(5).fullPages), 1);
    EXPECT_EQ(UtMemory::getLivePageCount(), before + 2);

    UtMemory::free(p509);
    EXPECT_EQ(UtMemory::getLivePageCount(), before + 1);
    EXPECT_EQ(holder.getBin(5).fullPages, nullptr);
    EXPECT_EQ(holder.getBin(5).roomPages, nullptr);
    UtMemory::free(p508);
}

TEST(MemoryHolderTmp, FullPageMovesToFullListAndBackToRoomListOnFree)
{
    MemoryHolderTmp holder(0, "full", AllocationMode::Paged);
    std::vector<void*> chunks;
    for (int i = 0; i < 8; ++i) chunks.push_back(holder.malloc(500, 4));  // bin 4: 8 per page
    const MHBin& bin = holder.getBin(4);
    EXPECT_EQ(listLength(bin.fullPages), 1);
    EXPECT_EQ(listLength(bin.roomPages), 0);
    void* ninth = holder.malloc(500, 4);
    EXPECT_NE(pageOf(ninth), pageOf(chunks[0]));
    EXPECT_EQ(listLength(bin.roomPages), 1);

    UtMemory::free(chunks[3]);
    EXPECT_EQ(listLength(bin.fullPages), 0);
    EXPECT_EQ(bin.roomPages, pageOf(chunks[0]));  // moved to the front
    EXPECT_EQ(listLength(bin.roomPages), 2);
    chunks[3] = ninth;
    for (void* p : chunks) UtMemory::free(p);
}

// Freeing the last used chunk of a 32-byte-bin page releases the page only when
// the bin's other pages with room already have 32 (64 / 2) empty chunks.
struct ReleaseCase {
    int usedOnOtherPage;
    bool released;
};

void PrintTo(const ReleaseCase& c, std::ostream* os) { *os << "used " << c.usedOnOtherPage; }

class MemoryHolderTmpRelease : public ::testing::TestWithParam<ReleaseCase> {};

TEST_P(MemoryHolderTmpRelease, EmptyPageIsReleasedOnlyWhenOtherPagesHaveHalfAPageFree)
{
    const ReleaseCase c = GetParam();
    MemoryHolderTmp holder(0, "threshold", AllocationMode::Paged);
    std::vector<void*> first;
    for (int i = 0; i < 64; ++i) first.push_back(holder.malloc(16, 4));
    std::vector<void*> second;
    for (int i = 0; i < c.usedOnOtherPage; ++i) second.push_back(holder.malloc(16, 4));
    MHPageHeaderTmp* firstPage = pageOf(first[0]);
    ASSERT_TRUE(c.usedOnOtherPage == 0 || pageOf(second[0]) != firstPage);

    const int before = UtMemory::getLivePageCount();
    for (void* p : first) UtMemory::free(p);
    EXPECT_EQ(UtMemory::getLivePageCount(), c.released ? before - 1 : before);
    const MHBin& bin = holder.getBin(0);
    int pages = listLength(bin.roomPages) + listLength(bin.fullPages);
    EXPECT_EQ(pages, (c.usedOnOtherPage > 0 ? 1 : 0) + (c.released ? 0 : 1));
    for (void* p : second) UtMemory::free(p);
}

INSTANTIATE_TEST_SUITE_P(Threshold, MemoryHolderTmpRelease,
                         ::testing::Values(ReleaseCase{0, false}, ReleaseCase{1, true}, ReleaseCase{32, true},
                                           ReleaseCase{33, false}, ReleaseCase{64, false}));

TEST(MemoryHolderTmpDeathTest, DoubleFreeIsAnAssertion)
{
    MemoryHolderTmp holder(0, "double", AllocationMode::Paged);
    void* keep = holder.malloc(16, 4);
    void* p = holder.malloc(16, 4);
    UtMemory::free(p);
    EXPECT_RUNTIME_DEATH(UtMemory::free(p), "assert ::");
    UtMemory::free(keep);
}

TEST(MemoryHolderTmp, ClearReturnsEveryPage)
{
    const int before = UtMemory::getLivePageCount();
    MemoryHolderTmp holder(0, "clear", AllocationMode::Paged);
    for (size_t size : {8u, 40u, 100u, 200u, 400u, 2000u}) holder.malloc(size, 4);
    EXPECT_EQ(UtMemory::getLivePageCount(), before + 6);
    holder.clear();
    EXPECT_EQ(UtMemory::getLivePageCount(), before);
    for (int b = 0; b < MemoryHolderTmp::BIN_COUNT; ++b) {
        EXPECT_EQ(holder.getBin(b).roomPages, nullptr);
        EXPECT_EQ(holder.getBin(b).fullPages, nullptr);
    }
}

TEST(MemoryHolderTmp, OversizedOrOveralignedRequestIsRefused)
{
    MemoryHolderTmp holder(0, "refuse", AllocationMode::Paged);
    EXPECT_EQ(holder.malloc(size_t{1} << 40, 4), nullptr);
    EXPECT_EQ(holder.malloc(16, 64), nullptr);
}

// Pages from a hook need not start on a 32-byte boundary: the header moves up
// and the raw address is recovered from the stored distance.
class OffsetAllocator : public LDAllocator {
public:
    void* pageAlloc(size_t size, int) override
    {
        char* block = static_cast<char*>(std::malloc(size + 8 + 32));
        char* aligned = block + (32 - reinterpret_cast<std::uintptr_t>(block) % 32) % 32;
        char* page = aligned + 8;  // 8 past a 32-byte boundary
        blocks.push_back({page, block});
        return page;
    }
    void pageFree(void* ptr, int) override
    {
        for (auto it = blocks.begin(); it != blocks.end(); ++it) {
            if (it->page == ptr) {
                std::free(it->block);
                blocks.erase(it);
                ++frees;
                return;
            }
        }
        ++unknownFrees;
    }
    struct Block {
        void* page;
        void* block;
    };
    std::vector<Block> blocks;
    int frees = 0;
    int unknownFrees = 0;
};

TEST(MemoryHolderTmp, HookPagesOffTheBoundaryKeepTheirDistance)
{
    ASSERT_EQ(UtMemory::getLivePageCount(), 0);
    OffsetAllocator hook;
    UtMemory::setAllocator(&hook);
    for (AllocationMode mode : {AllocationMode::Paged, AllocationMode::ChunkPerAllocation}) {
        MemoryHolderTmp holder(0, "hook", mode);
        char* p = static_cast<char*>(holder.malloc(100, 4));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(pageOf(p)->distance, 24);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % 32, 0u);
        std::memset(p, 1, 100);
        UtMemory::free(p);
        holder.clear();
    }
    UtMemory::setAllocator(nullptr);
    EXPECT_EQ(hook.unknownFrees, 0);
    EXPECT_TRUE(hook.blocks.empty());
}

TEST(MemoryHolderTmp, ChunkPerAllocationGivesEachChunkItsOwnExactPage)
{
    const int before = UtMemory::getLivePageCount();
    MemoryHolderTmp holder(0, "separate", AllocationMode::ChunkPerAllocation);
    char* a = static_cast<char*>(holder.malloc(10, 4));
    char* b = static_cast<char*>(holder.malloc(10, 4));
    ASSERT_NE(pageOf(a), pageOf(b));
    EXPECT_EQ(a + 10, pageOf(a)->raw() + pageOf(a)->pageSize);
    EXPECT_EQ(UtMemory::getLivePageCount(), before + 2);
    UtMemory::free(a);
    UtMemory::free(b);
    EXPECT_EQ(UtMemory::getLivePageCount(), before);
}

#if defined(__SANITIZE_ADDRESS__)
TEST(MemoryHolderTmpDeathTest, ChunkPerAllocationLetsTheSanitizerSeeOverruns)
{
    MemoryHolderTmp holder(0, "overrun", AllocationMode::ChunkPerAllocation);
    volatile char* p = static_cast<char*>(holder.malloc(24, 4));
    EXPECT_DEATH(p[24] = 1, "heap-buffer-overflow");
    UtMemory::free(const_cast<char*>(p));
}
#endif

}  // namespace
}  // namespace mesh2d

namespace mesh2d {
namespace {

// Random interleavings of requests and frees: every live chunk keeps its
// bytes, no two chunks overlap, and freeing everything returns every page
// except the ones the release threshold keeps (at most one empty page per bin).
TEST(MemoryHolderTmp, RandomSequencesKeepChunksIntactAndReturnPages)
{
    struct Live {
        unsigned char* ptr;
        size_t size;
        unsigned char fill;
    };
    const int before = UtMemory::getLivePageCount();
    uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    MemoryHolderTmp holder(0, "random", AllocationMode::Paged);
    std::vector<Live> live;
    for (int step = 0; step < 20000; ++step) {
        if (live.empty() || next() % 100 < 55) {
            const size_t sizes[] = {1, 12, 28, 29, 60, 100, 124, 200, 252, 400, 508, 509, 1500};
            const size_t size = sizes[next() % 13];
            auto* p = static_cast<unsigned char*>(holder.malloc(size, 4));
            ASSERT_NE(p, nullptr);
            const auto fill = static_cast<unsigned char>(next());
            std::memset(p, fill, size);
            live.push_back({p, size, fill});
        } else {
            const size_t i = next() % live.size();
            const Live victim = live[i];
            for (size_t k = 0; k < victim.size; ++k) ASSERT_EQ(victim.ptr[k], victim.fill) << "step " << step;
            UtMemory::free(victim.ptr);
            live[i] = live.back();
            live.pop_back();
        }
    }
    for (const Live& l : live) {
        for (size_t k = 0; k < l.size; ++k) ASSERT_EQ(l.ptr[k], l.fill);
        UtMemory::free(l.ptr);
    }
    int kept = 0;
    for (int b = 0; b < MemoryHolderTmp::BIN_COUNT; ++b) {
        const MHBin& bin = holder.getBin(b);
        EXPECT_EQ(bin.fullPages, nullptr) << b;
        int pages = 0;
        for (const MHPageHeaderTmp* p = bin.roomPages; p; p = p->next, ++pages) {
            EXPECT_EQ(p->emptyCount, p->chunkCount);
        }
        EXPECT_LE(pages, 1) << b;
        kept += pages;
    }
    EXPECT_EQ(UtMemory::getLivePageCount(), before + kept);
}

}  // namespace
}  // namespace mesh2d
