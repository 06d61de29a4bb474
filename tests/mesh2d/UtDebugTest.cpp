// Error banners, positions and assertion reports.
#include <gtest/gtest.h>

#include "Mesh2DTestSupport.h"

#include <string>

#include "mesh2d/util/UtDebug.h"

namespace mesh2d {
namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

TEST(UtDebug, ErrorFramesMessageInNumberedBanner)
{
    const int n = UtDebug::getErrorCount() + 1;
    CaptureStdout();
    UtDebug::error("bad value %d", 7);
    const std::string out = GetCapturedStdout();
    char banner[100];
    std::snprintf(banner, sizeof banner, "******************** < ERROR[%3d] @UtDebug > ********************\n", n);
    EXPECT_EQ(out, std::string(banner) + "bad value 7\n*****************************************************************\n");
    EXPECT_EQ(UtDebug::getErrorCount(), n);
}

TEST(UtDebug, ErrorAtAddsTheSourcePosition)
{
    CaptureStdout();
    UtDebug::errorAt("model.cpp", 42, "oops %s", "here");
    const std::string out = GetCapturedStdout();
    EXPECT_NE(out.find("oops here\n      @ model.cpp : 42\n*****************************************************************\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(out.rfind("******************** < ERROR[", 0), 0u);
}

TEST(UtDebug, PrintEndsTheLineAndDumpDoesNot)
{
    CaptureStdout();
    UtDebug::print("a%d", 1);
    UtDebug::dump("b%d", 2);
    UtDebug::dump("c");
    EXPECT_EQ(GetCapturedStdout(), "a1\nb2c");
}

TEST(UtDebug, MemoryDebugFlagsAccumulate)
{
    UtDebug::setMemoryDebugFlags(0);
    UtDebug::addMemoryDebugFlags(UtDebug::MEMORY_DEBUG_TRACE_TMP);
    UtDebug::addMemoryDebugFlags(UtDebug::MEMORY_DEBUG_MEMORY_INFO_COUNT);
    EXPECT_EQ(UtDebug::getMemoryDebugFlags(), 0x12);
    EXPECT_TRUE(UtDebug::hasMemoryDebugFlag(UtDebug::MEMORY_DEBUG_TRACE_TMP));
    EXPECT_FALSE(UtDebug::hasMemoryDebugFlag(UtDebug::MEMORY_DEBUG_TRACE_FIXED));
    UtDebug::setMemoryDebugFlags(0);
}

TEST(UtDebugDeathTest, AssertionReportsFileAndLineThenStops)
{
    EXPECT_RUNTIME_DEATH(UtDebug::assertFailed("holder.cpp", 99), "assert ::holder.cpp 99 ");
    EXPECT_RUNTIME_DEATH(LD_ASSERT(1 + 1 == 3), "assert ::.*UtDebugTest.cpp [0-9]+");
}

}  // namespace
}  // namespace mesh2d
