// The fixed holder's page algorithm, exercised in the paged layout even in
// sanitizer builds, plus the one-page-per-chunk layout those builds default to.
#include <gtest/gtest.h>

#include <ostream>

#include "Mesh2DTestSupport.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "mesh2d/memory/AllocationMode.h"
#include "mesh2d/memory/fixed/MHPageHeaderFixed.h"
#include "mesh2d/memory/fixed/MemoryHolderFixed.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {
namespace {

MHPageHeaderFixed* pageOf(void* p) { return static_cast<MHPageHeaderFixed*>(UtMemory::getPageHeader(p)); }

int listLength(MHPageHeaderFixed* page)
{
    int n = 0;
    for (; page; page = page->next) ++n;
    return n;
}

std::vector<int> remainingOf(MHPageHeaderFixed* page)
{
    std::vector<int> out;
    for (; page; page = page->next) out.push_back(page->remaining);
    return out;
}

TEST(MemoryHolderFixed, RequestLargerThanPageGetsPageOfSizePlusAlignPlus68)
{
    MemoryHolderFixed holder(0, "big", 256, AllocationMode::Paged);
    void* p = holder.malloc(1000, 4);
    ASSERT_NE(p, nullptr);
    // The requested 4 is raised to the host's minimum alignment.
    EXPECT_EQ(pageOf(p)->pageSize, 1000 + kMinChunkAlign + 68);
    EXPECT_EQ(pageOf(p)->endPtr - reinterpret_cast<char*>(pageOf(p)), pageOf(p)->pageSize);
    std::memset(p, 0xAB, 1000);
}

TEST(MemoryHolderFixed, SmallRequestsShareOnePageAndLeadBackToIt)
{
    MemoryHolderFixed holder(0, "share", 1024, AllocationMode::Paged);
    void* a = holder.malloc(10, 4);
    void* b = holder.malloc(10, 4);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(pageOf(a), pageOf(b));
    EXPECT_EQ(pageOf(a), holder.getRoomPages());
    EXPECT_EQ(pageOf(a)->pageSize, 1024);
    // The first chunk follows the 64-byte header area.
    EXPECT_EQ(static_cast<char*>(a) - reinterpret_cast<char*>(pageOf(a)), 64);
    EXPECT_GE(static_cast<char*>(b), static_cast<char*>(a) + 10 + 4);
}

TEST(MemoryHolderFixed, EveryChunkIsAlignedToAtLeastTheHostMinimum)
{
    MemoryHolderFixed holder(0, "align", 512, AllocationMode::Paged);
    const int aligns[] = {1, 4, 8, 16, 32, 64, 128};
    for (int align : aligns) {
        for (size_t size : {1u, 3u, 17u, 100u}) {
            void* p = holder.malloc(size, align);
            ASSERT_NE(p, nullptr);
            const int want = align > kMinChunkAlign ? align : kMinChunkAlign;
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % want, 0u) << "align " << align << " size " << size;
            EXPECT_LE(static_cast<char*>(p) + size, pageOf(p)->endPtr);
        }
    }
}

// A page whose remaining bytes drop to 31 or fewer leaves the room list.
struct FullCase {
    size_t size;
    int remaining;
    bool full;
};

void PrintTo(const FullCase& c, std::ostream* os) { *os << "size " << c.size; }

class MemoryHolderFixedFullThreshold : public ::testing::TestWithParam<FullCase> {};

TEST_P(MemoryHolderFixedFullThreshold, PageMovesToFullListAt31BytesLeft)
{
    const FullCase c = GetParam();
    MemoryHolderFixed holder(0, "threshold", 256, AllocationMode::Paged);
    void* p = holder.malloc(c.size, 16);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(pageOf(p)->remaining, c.remaining);
    EXPECT_EQ(listLength(holder.getFullPages()), c.full ? 1 : 0);
    EXPECT_EQ(listLength(holder.getRoomPages()), c.full ? 0 : 1);
    if (c.full) {
        // Never searched again: even a request that would fit takes a new page.
        void* q = holder.malloc(1, 16);
        EXPECT_NE(pageOf(q), pageOf(p));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MemoryHolderFixedFullThreshold,
                         ::testing::Values(FullCase{160, 32, false}, FullCase{161, 31, true},
                                           FullCase{172, 20, true}));

TEST(MemoryHolderFixed, TakesTheFittingPageWithLeastRoomAndKeepsListSorted)
{
    MemoryHolderFixed holder(0, "bestfit", 1024, AllocationMode::Paged);
    void* a = holder.malloc(800, 16);  // page A: 160 left
    void* b = holder.malloc(400, 16);  // A is too small: page B, 560 left
    ASSERT_NE(pageOf(a), pageOf(b));
    EXPECT_EQ(remainingOf(holder.getRoomPages()), (std::vector<int>{560, 160}));

    void* c = holder.malloc(40, 16);  // both fit: the one with less room (A)
    EXPECT_EQ(pageOf(c), pageOf(a));
    void* d = holder.malloc(500, 16);  // only B fits (44 left)
    EXPECT_EQ(pageOf(d), pageOf(b));
    // B dropped below A, so the order flips.
    const std::vector<int> rem = remainingOf(holder.getRoomPages());
    ASSERT_EQ(rem.size(), 2u);
    EXPECT_GT(rem[0], rem[1]);
    EXPECT_EQ(holder.getRoomPages(), pageOf(a));
}

TEST(MemoryHolderFixed, FreeReleasesNothingAndClearReturnsEveryPage)
{
    const int before = UtMemory::getLivePageCount();
    {
        MemoryHolderFixed holder(0, "clear", 256, AllocationMode::Paged);
        void* a = holder.malloc(100, 16);
        UtMemory::free(a);
        void* b = holder.malloc(100, 16);
        EXPECT_NE(a, b);  // the freed bytes stay in place
        holder.malloc(200, 16);
        holder.malloc(2000, 16);
        EXPECT_GT(UtMemory::getLivePageCount(), before);
        holder.clear();
        EXPECT_EQ(UtMemory::getLivePageCount(), before);
        EXPECT_EQ(holder.getRoomPages(), nullptr);
        EXPECT_EQ(holder.getFullPages(), nullptr);
        holder.malloc(10, 16);  // usable after clear; the destructor returns this page
    }
    EXPECT_EQ(UtMemory::getLivePageCount(), before);
}

TEST(MemoryHolderFixed, OversizedRequestIsRefused)
{
    MemoryHolderFixed holder(0, "huge", 256, AllocationMode::Paged);
    EXPECT_EQ(holder.malloc(size_t{1} << 40, 16), nullptr);
    EXPECT_EQ(holder.getRoomPages(), nullptr);
}

TEST(MemoryHolderFixedDeathTest, CorruptedPageHeaderStopsTheProcess)
{
    MemoryHolderFixed holder(0, "corrupt", 256, AllocationMode::Paged);
    void* p = holder.malloc(10, 16);
    holder.checkPageHeaders();  // intact pages pass
    pageOf(p)->pageSize += 1;
    EXPECT_RUNTIME_DEATH(holder.checkPageHeaders(), "PageHeader is corrupted!");
    pageOf(p)->pageSize -= 1;
}

TEST(MemoryHolderFixed, ChunkPerAllocationEndsEachChunkAtItsAllocationEnd)
{
    MemoryHolderFixed holder(0, "separate", 8192, AllocationMode::ChunkPerAllocation);
    const int before = UtMemory::getLivePageCount();
    for (size_t size : {1u, 7u, 64u, 1000u}) {
        char* p = static_cast<char*>(holder.malloc(size, 4));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % kMinChunkAlign, 0u);
        EXPECT_EQ(p + size, pageOf(p)->endPtr);
    }
    EXPECT_EQ(UtMemory::getLivePageCount(), before + 4);
    EXPECT_EQ(holder.getRoomPages(), nullptr);
    holder.clear();
    EXPECT_EQ(UtMemory::getLivePageCount(), before);
}

#if defined(__SANITIZE_ADDRESS__)
TEST(MemoryHolderFixedDeathTest, ChunkPerAllocationLetsTheSanitizerSeeOverruns)
{
    MemoryHolderFixed holder(0, "overrun", 8192, AllocationMode::ChunkPerAllocation);
    char* p = static_cast<char*>(holder.malloc(10, 16));
    volatile char* q = p;
    EXPECT_DEATH(q[10] = 1, "heap-buffer-overflow");
}
#endif

}  // namespace
}  // namespace mesh2d

namespace mesh2d {
namespace {

// Random requests: chunks stay inside their pages and never overlap, the room
// list stays sorted largest first, and full pages have 31 bytes or fewer left.
TEST(MemoryHolderFixed, RandomRequestsKeepPagesSortedAndChunksApart)
{
    MemoryHolderFixed holder(0, "random", 1024, AllocationMode::Paged);
    uint32_t state = 777;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    struct Chunk {
        unsigned char* ptr;
        size_t size;
        unsigned char fill;
    };
    std::vector<Chunk> chunks;
    for (int step = 0; step < 3000; ++step) {
        const size_t size = next() % 3 == 0 ? next() % 1500 : next() % 120;
        const int align = 1 << (next() % 7);
        auto* p = static_cast<unsigned char*>(holder.malloc(size, align));
        ASSERT_NE(p, nullptr);
        MHPageHeaderFixed* page = pageOf(p);
        ASSERT_GE(p, reinterpret_cast<unsigned char*>(page) + 64);
        ASSERT_LE(p + size, reinterpret_cast<unsigned char*>(page->endPtr));
        const auto fill = static_cast<unsigned char>(step);
        std::memset(p, fill, size);
        chunks.push_back({p, size, fill});

        const std::vector<int> rem = remainingOf(holder.getRoomPages());
        for (size_t i = 1; i < rem.size(); ++i) ASSERT_GE(rem[i - 1], rem[i]) << "step " << step;
        for (int r : rem) ASSERT_GT(r, MemoryHolderFixed::FULL_THRESHOLD);
        for (MHPageHeaderFixed* f = holder.getFullPages(); f; f = f->next) {
            ASSERT_LE(f->remaining, MemoryHolderFixed::FULL_THRESHOLD);
        }
    }
    for (const Chunk& c : chunks) {
        for (size_t k = 0; k < c.size; ++k) ASSERT_EQ(c.ptr[k], c.fill);
    }
    holder.checkPageHeaders();
}

}  // namespace
}  // namespace mesh2d
