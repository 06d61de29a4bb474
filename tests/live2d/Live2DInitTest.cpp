// Nesting of Live2D::init / Live2D::dispose, the allocator hook, and the
// memory summary and leak report at the final dispose.
#include <gtest/gtest.h>

#include <string>

#include "Live2DTestSupport.h"
#include "live2d/Live2D.h"
#include "live2d/memory/LDAllocator.h"
#include "live2d/memory/LDObject.h"
#include "live2d/type/LDString.h"
#include "live2d/util/UtDebug.h"
#include "live2d/util/UtMemory.h"

namespace live2d {
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

void initNoHook() { Live2D::init(); }

TEST(Live2DInit, InitBuildsTheMemoryLayerAndDisposeTearsItDown)
{
    const int pages = UtMemory::getLivePageCount();
    captured(initNoHook);
    EXPECT_TRUE(Live2D::isInitialized());
    EXPECT_NE(UtMemory::getTmpMemoryParam(), nullptr);
    EXPECT_NE(UtMemory::getStaticMemoryParam(), nullptr);
    EXPECT_EQ(Live2D::getHostByteOrder(), 0);
    captured(Live2D::dispose);
    EXPECT_FALSE(Live2D::isInitialized());
    EXPECT_EQ(UtMemory::getTmpMemoryParam(), nullptr);
    EXPECT_EQ(UtMemory::getStaticMemoryParam(), nullptr);
    EXPECT_EQ(UtMemory::getLivePageCount(), pages);
}

// The "threadsafe" style runs the child as a fresh process, so its first init
// is the first of the process; it exits with the number of version lines.
TEST(Live2DInitDeathTest, VersionIsPrintedOnlyOnTheFirstInitOfTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            CaptureStdout();
            for (int i = 0; i < 3; ++i) {
                Live2D::init();
                Live2D::dispose();
            }
            const std::string out = GetCapturedStdout();
            std::exit(test::countOf(out, "Live2D version 2.0.00 for iPhone\n") * 10 +
                      test::countOf(out, "Live2D version"));
        },
        ::testing::ExitedWithCode(11), "");
}

TEST(Live2DInit, NestedPairOnlyTheOutermostTearsDown)
{
    captured(initNoHook);
    MemoryParam* tmp = UtMemory::getTmpMemoryParam();
    EXPECT_THAT(captured(initNoHook), HasSubstr("Live2D::init() skipped , already initialized."));
    EXPECT_EQ(UtMemory::getTmpMemoryParam(), tmp);  // nothing rebuilt
    EXPECT_THAT(captured(Live2D::dispose), HasSubstr("Live2D::dispose() skipped , init count:1."));
    EXPECT_EQ(UtMemory::getTmpMemoryParam(), tmp);  // nothing torn down
    EXPECT_THAT(captured(Live2D::dispose), Not(HasSubstr("skipped")));
    EXPECT_EQ(UtMemory::getTmpMemoryParam(), nullptr);
    EXPECT_EQ(Live2D::getInitCount(), 0);
}

TEST(Live2DInit, DisposeWithoutInitMakesTheNextInitReportTheWrongCount)
{
    ASSERT_EQ(Live2D::getInitCount(), 0);
    EXPECT_THAT(captured(Live2D::dispose), HasSubstr("Live2D::dispose() skipped , already disposed."));
    EXPECT_EQ(Live2D::getInitCount(), -1);
    EXPECT_THAT(captured(initNoHook), HasSubstr("Live2D::init() skipped , wrong init count."));
    EXPECT_EQ(UtMemory::getTmpMemoryParam(), nullptr);
    // The count is back at 0, so the next pair works.
    captured(initNoHook);
    EXPECT_NE(UtMemory::getTmpMemoryParam(), nullptr);
    captured(Live2D::dispose);
}

TEST(Live2DInit, MemoryInfoSummaryReportsACleanRun)
{
    UtDebug::setMemoryDebugFlags(UtDebug::MEMORY_DEBUG_MEMORY_INFO_COUNT);
    captured(initNoHook);
    {
        LDString s("short lived");
        LDString t = s + " and joined";
    }
    const std::string out = captured(Live2D::dispose);
    UtDebug::setMemoryDebugFlags(0);
    EXPECT_THAT(out, HasSubstr("----------------- Live2D Memory Info -----------------"));
    EXPECT_THAT(out, HasSubstr("Successfully cleaned (no memory leaks found). \n"));
    EXPECT_THAT(out, HasSubstr("[local] remaining 0"));
    EXPECT_THAT(out, Not(HasSubstr("MEMORY LEAKS")));
    EXPECT_EQ(UtMemory::getLastLeakCount(), 0);
}

TEST(Live2DInit, LeakReportNamesEveryChunkStillListed)
{
    UtDebug::setMemoryDebugFlags(UtDebug::MEMORY_DEBUG_MEMORY_INFO_COUNT);
    captured(initNoHook);
    // Chunks of the tmp holder; the holder's pages go with it at dispose.
    for (int i = 0; i < 21; ++i) LD_MALLOC(nullptr, 16);
    const std::string out = captured(Live2D::dispose);
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
    EXPECT_THAT(out, HasSubstr("//for memory debugging , call below before Live2D::init() ; (DEBUG mode only)"));
}

TEST(Live2DInit, FreedChunksLeaveTheLeakReport)
{
    UtDebug::setMemoryDebugFlags(UtDebug::MEMORY_DEBUG_MEMORY_INFO_COUNT);
    captured(initNoHook);
    void* kept = LD_MALLOC(nullptr, 16);
    void* freed = LD_MALLOC(nullptr, 16);
    LD_FREE(freed);
    const std::string out = captured(Live2D::dispose);
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

TEST(Live2DInit, HookServesEveryPageBetweenInitAndDispose)
{
    ASSERT_EQ(UtMemory::getLivePageCount(), 0);
    CountingAllocator hook;
    CaptureStdout();
    Live2D::init(&hook);
    EXPECT_EQ(hook.inits, 1);
    EXPECT_EQ(UtMemory::getAllocator(), &hook);
    LDString s("through the hook");
    s.clear();
    Live2D::dispose();
    GetCapturedStdout();
    EXPECT_GT(hook.allocs, 0);
    EXPECT_EQ(hook.allocs, hook.frees);
    EXPECT_EQ(hook.disposes, 1);
    EXPECT_EQ(UtMemory::getAllocator(), nullptr);
}

TEST(Live2DInit, HookChangeWhilePagesAreLiveIsRefused)
{
    CountingAllocator hook;
    captured(initNoHook);
    CaptureStdout();
    UtMemory::setAllocator(&hook);
    const std::string out = GetCapturedStdout();
    EXPECT_THAT(out, HasSubstr("Warning!! setAllocator() called after malloc"));
    EXPECT_EQ(UtMemory::getAllocator(), nullptr);
    captured(Live2D::dispose);
    EXPECT_EQ(hook.allocs, 0);
}

TEST(Live2DInit, AllocationWithoutInitIsRefused)
{
    CaptureStdout();
    void* p = LD_MALLOC(nullptr, 16);
    LDString* s = new LDString("x");
    const std::string out = GetCapturedStdout();
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(s, nullptr);
    EXPECT_THAT(out, HasSubstr("call Live2D::init() first"));
}

}  // namespace
}  // namespace live2d
