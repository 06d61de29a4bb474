// Nesting of Mesh2D::init / Mesh2D::dispose, the allocator hook, and the
// memory summary and leak report at the final dispose.
#include <gtest/gtest.h>

#include <string>

#include "Mesh2DTestSupport.h"
#include "mesh2d/Mesh2D.h"
#include "mesh2d/memory/LDAllocator.h"
#include "mesh2d/memory/LDObject.h"
#include "mesh2d/type/LDString.h"
#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

std::string captured(void (*fn)())
{
    CaptureStdout();
    fn();
    return GetCapturedStdout();
}

void initNoHook() { Mesh2D::init(); }

TEST(Mesh2DInit, InitBuildsTheMemoryLayerAndDisposeTearsItDown)
{
    const int pages = UtMemory::getLivePageCount();
    captured(initNoHook);
    EXPECT_TRUE(Mesh2D::isInitialized());
    EXPECT_NE(UtMemory::getTmpMemoryParam(), nullptr);
    EXPECT_NE(UtMemory::getStaticMemoryParam(), nullptr);
    EXPECT_EQ(Mesh2D::getHostByteOrder(), 0);
    captured(Mesh2D::dispose);
    EXPECT_FALSE(Mesh2D::isInitialized());
    EXPECT_EQ(UtMemory::getTmpMemoryParam(), nullptr);
    EXPECT_EQ(UtMemory::getStaticMemoryParam(), nullptr);
    EXPECT_EQ(UtMemory::getLivePageCount(), pages);
}

// The "threadsafe" style runs the child as a fresh process, so its first init
// is the first of the process; it exits with the number of version lines.
TEST(Mesh2DInitDeathTest, VersionIsPrintedOnlyOnTheFirstInitOfTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            CaptureStdout();
            for (int i = 0; i < 3; ++i) {
                Mesh2D::init();
                Mesh2D::dispose();
            }
            const std::string out = GetCapturedStdout();
            std::exit(test::countOf(out, "Mesh2D version 2.0.00 for iPhone\n") * 10 +
                      test::countOf(out, "Mesh2D version"));
        },
        ::testing::ExitedWithCode(11), "");
}

TEST(Mesh2DInit, NestedPairOnlyTheOutermostTearsDown)
{
    captured(initNoHook);
    MemoryParam* tmp = UtMemory::getTmpMemoryParam();
    EXPECT_THAT(captured(initNoHook), HasSubstr("Mesh2D::init() skipped , already initialized."));
    EXPECT_EQ(UtMemory::getTmpMemoryParam(), tmp);  // nothing rebuilt
    EXPECT_THAT(captured(Mesh2D::dispose), HasSubstr("Mesh2D::dispose() skipped , init count:1."));
    EXPECT_EQ(UtMemory::getTmpMemoryParam(), tmp);  // nothing torn down
    EXPECT_THAT(captured(Mesh2D::dispose), Not(HasSubstr("skipped")));
    EXPECT_EQ(UtMemory::getTmpMemoryParam(), nullptr);
    EXPECT_EQ(Mesh2D::getInitCount(), 0);
}

TEST(Mesh2DInit, DisposeWithoutInitMakesTheNextInitReportTheWrongCount)
{
    ASSERT_EQ(Mesh2D::getInitCount(), 0);
    EXPECT_THAT(captured(Mesh2D::dispose), HasSubstr("Mesh2D::dispose() skipped , already disposed."));
    EXPECT_EQ(Mesh2D::getInitCount(), -1);
    EXPECT_THAT(captured(initNoHook), HasSubstr("Mesh2D::init() skipped , wrong init count."));
    EXPECT_EQ(UtMemory::getTmpMemoryParam(), nullptr);
    // The count is back at 0, so the next pair works.
    captured(initNoHook);
    EXPECT_NE(UtMemory::getTmpMemoryParam(), nullptr);
    captured(Mesh2D::dispose);
}

TEST(Mesh2DInit, MemoryInfoSummaryReportsACleanRun)
{
    UtDebug::setMemoryDebugFlags(UtDebug::MEMORY_DEBUG_MEMORY_INFO_COUNT);
    captured(initNoHook);
    {
        LDString s("short lived");
        LDString t = s + " and joined";
    }
    const std::string out = captured(Mesh2D::dispose);
    UtDebug::setMemoryDebugFlags(0);
    EXPECT_THAT(out, HasSubstr("----------------- Mesh2D Memory Info -----------------"));
    EXPECT_THAT(out, HasSubstr("Successfully cleaned (no memory leaks found). \n"));
    EXPECT_THAT(out, HasSubstr("[local] remaining 0"));
    EXPECT_THAT(out, Not(HasSubstr("MEMORY LEAKS")));
    EXPECT_EQ(UtMemory::getLastLeakCount(), 0);
}

TEST(Mesh2DInit, LeakReportNamesEveryChunkStillListed)
{
    UtDebug::setMemoryDebugFlags(UtDebug::MEMORY_DEBUG_MEMORY_INFO_COUNT);
    captured(initNoHook);
    // Chunks of the tmp holder; the holder's pages go with it at dispose.
    for (int i = 0; i < 21; ++i) LD_MALLOC(nullptr, 16);
    const std::string out = captured(Mesh2D::dispose);
    UtDebug::setMemoryDebugFlags(0);
    EXPECT_THAT(out, HasSubstr("Warning! memory leaks found!!\n"));
    EXPECT_THAT(out, HasSubstr("MEMORY LEAKS"));
    EXPECT_THAT(out, HasSubstr("[local]\n  [no."));
    EXPECT_EQ(test::countOf(out, "[no."), 21);
    EXPECT_EQ(UtMemory::getLastLeakCount(), 21);
    // A line break after every 20 entries.
    const size_t twentieth = out.find("[no.", out.find("[local]"));
    size_t pos = twentieth;
    for (int i = 0; i < 20; ++i) pos = out.find("[no.", pos + 1);
    EXPECT_NE(out.substr(twentieth, pos - twentieth).find("\n  "), std::string::npos);
    EXPECT_THAT(out, HasSubstr("//for memory debugging , call below before Mesh2D::init() ; (DEBUG mode only)"));
}

TEST(Mesh2DInit, FreedChunksLeaveTheLeakReport)
{
    UtDebug::setMemoryDebugFlags(UtDebug::MEMORY_DEBUG_MEMORY_INFO_COUNT);
    captured(initNoHook);
    void* kept = LD_MALLOC(nullptr, 16);
    void* freed = LD_MALLOC(nullptr, 16);
    LD_FREE(freed);
    const std::string out = captured(Mesh2D::dispose);
    UtDebug::setMemoryDebugFlags(0);
    EXPECT_EQ(test::countOf(out, "[no."), 1);
    EXPECT_EQ(UtMemory::getLastLeakCount(), 1);
    (void)kept;
}

class CountingAllocator : public LDAllocator {
public:
    void* pageAlloc(size_t size, int type) override
    {
        ++allocs;
        lastType = type;
        return std::malloc(size);
    }
    void pageFree(void* ptr, int) override
    {
        ++frees;
        std::free(ptr);
    }
    void init() override { ++inits; }
    void dispose() override { ++disposes; }
    int allocs = 0, frees = 0, inits = 0, disposes = 0, lastType = -1;
};

TEST(Mesh2DInit, HookServesEveryPageBetweenInitAndDispose)
{
    ASSERT_EQ(UtMemory::getLivePageCount(), 0);
    CountingAllocator hook;
    CaptureStdout();
    Mesh2D::init(&hook);
    EXPECT_EQ(hook.inits, 1);
    EXPECT_EQ(UtMemory::getAllocator(), &hook);
    LDString s("through the hook");
    s.clear();
    Mesh2D::dispose();
    GetCapturedStdout();
    EXPECT_GT(hook.allocs, 0);
    EXPECT_EQ(hook.allocs, hook.frees);
    EXPECT_EQ(hook.disposes, 1);
    EXPECT_EQ(UtMemory::getAllocator(), nullptr);
}

TEST(Mesh2DInit, HookChangeWhilePagesAreLiveIsRefused)
{
    CountingAllocator hook;
    captured(initNoHook);
    CaptureStdout();
    UtMemory::setAllocator(&hook);
    const std::string out = GetCapturedStdout();
    EXPECT_THAT(out, HasSubstr("Warning!! setAllocator() called after malloc"));
    EXPECT_EQ(UtMemory::getAllocator(), nullptr);
    captured(Mesh2D::dispose);
    EXPECT_EQ(hook.allocs, 0);
}

TEST(Mesh2DInit, AllocationWithoutInitIsRefused)
{
    CaptureStdout();
    void* p = LD_MALLOC(nullptr, 16);
    LDString* s = new LDString("x");
    const std::string out = GetCapturedStdout();
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(s, nullptr);
    EXPECT_THAT(out, HasSubstr("call Mesh2D::init() first"));
}

}  // namespace
}  // namespace mesh2d
