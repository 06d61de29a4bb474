// Memory parameters, UtMemory's routing of chunks back to their holders, and
// the trace switches.
#include <gtest/gtest.h>

#include <ostream>
#include <gmock/gmock.h>

#include <string>

#include "Mesh2DTestSupport.h"
#include "mesh2d/memory/MemoryParam.h"
#include "mesh2d/memory/fixed/MHPageHeaderFixed.h"
#include "mesh2d/memory/fixed/MemoryHolderFixed.h"
#include "mesh2d/memory/tmp/MHPageHeaderTmp.h"
#include "mesh2d/type/LDString.h"
#include "mesh2d/memory/tmp/MemoryHolderTmp.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {
namespace {

using ::testing::HasSubstr;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

TEST(MemoryParam, SelectsMainOrGpuHolderAndFallsBackWithAReport)
{
    MemoryHolderFixed main(0, "main", 1024, AllocationMode::Paged);
    MemoryHolderFixed gpu(1, "gpu", 1024, AllocationMode::Paged);
    MemoryParam both(&main, &gpu);
    MemoryParam mainOnly(&main, nullptr);
    EXPECT_EQ(both.getCurMemoryHolder(), &main);
    EXPECT_EQ(both.getMemoryHolder(0), &main);
    EXPECT_EQ(both.getMemoryHolder(1), &gpu);

    CaptureStdout();
    EXPECT_EQ(mainOnly.getMemoryHolder(1), &main);
    EXPECT_EQ(both.getMemoryHolder(2), &main);
    const std::string out = GetCapturedStdout();
    EXPECT_THAT(out, HasSubstr("memoryHolderGPU is NULL , but selected :: 1 @MemoryParam#getMemoryHolder()"));
    EXPECT_THAT(out, HasSubstr("alloc type not implmented :: 2 @MemoryParam#getMemoryHolder()"));

    EXPECT_EQ(both.setAllocType(1), 0);
    EXPECT_EQ(both.getCurMemoryHolder(), &gpu);
    void* p = UtMemory::malloc(&both, 32, __FILE__, __LINE__);
    EXPECT_EQ(UtMemory::getPageHeader(p), static_cast<APageHeader*>(gpu.getRoomPages()));
    EXPECT_EQ(both.setAllocType(0), 1);
}

TEST(MemoryParam, AlignmentAppliesToLaterAllocations)
{
    MemoryHolderFixed main(0, "align", 4096, AllocationMode::Paged);
    MemoryParam param(&main, nullptr);
    EXPECT_GE(param.getAllocAlign(), static_cast<int>(alignof(std::max_align_t)));
    param.setAllocAlign(256);
    for (int i = 0; i < 4; ++i) {
        void* p = UtMemory::malloc(&param, 8, __FILE__, __LINE__);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % 256, 0u);
    }
}

using UtMemoryRuntime = test::RuntimeTest;

TEST_F(UtMemoryRuntime, NullParameterMeansTheTmpHolderAndFreeFindsTheHolder)
{
    const int pages = UtMemory::getLivePageCount();
    void* big = LD_MALLOC(nullptr, 3000);  // a page of its own in the variable bin
    EXPECT_EQ(UtMemory::getLivePageCount(), pages + 1);
    auto* header = static_cast<MHPageHeaderTmp*>(UtMemory::getPageHeader(big));
    EXPECT_EQ(header->holder, UtMemory::getTmpMemoryHolder());
    LD_FREE(big);
    EXPECT_EQ(UtMemory::getLivePageCount(), pages);
    LD_FREE(nullptr);  // ignored
}

TEST_F(UtMemoryRuntime, ObjectsOfAFixedHolderStayUntilTheHolderGoes)
{
    auto* holder = LD_NEW(nullptr) MemoryHolderFixed(0, "owner", UtMemory::DEFAULT_PAGE_SIZE, AllocationMode::Paged);
    auto* param = LD_NEW(nullptr) MemoryParam(holder, nullptr);
    const int objects = LDObject::getInstanceCount();
    LDString* s = LD_NEW(param) LDString("kept in the owner's page", param);
    EXPECT_EQ(LDObject::getInstanceCount(), objects + 1);
    const int pages = UtMemory::getLivePageCount();
    delete s;  // runs the destructor; the bytes stay in the page
    EXPECT_EQ(LDObject::getInstanceCount(), objects);
    EXPECT_EQ(UtMemory::getLivePageCount(), pages);
    delete param;
    delete holder;
    EXPECT_LT(UtMemory::getLivePageCount(), pages);
}

struct TraceCase {
    int flag;
    const char* expected;
};

void PrintTo(const TraceCase& c, std::ostream* os) { *os << "flag " << c.flag << " '" << c.expected << "'"; }

class UtMemoryTrace : public test::RuntimeTest, public ::testing::WithParamInterface<TraceCase> {};

TEST_P(UtMemoryTrace, FlagTurnsOnItsTrace)
{
    const TraceCase c = GetParam();
    CaptureStdout();
    UtDebug::setMemoryDebugFlags(c.flag);
    {
        MemoryHolderFixed fixed(0, "traced", 256, AllocationMode::Paged);
        MemoryParam param(&fixed, nullptr);
        void* f = LD_MALLOC(&param, 16);
        LD_FREE(f);
        fixed.free(nullptr, f);
        void* t = LD_MALLOC(nullptr, 3000);
        LD_FREE(t);
        UtMemory::placementNew_debug(t, "here.cpp", 5);
        delete LD_UNMANAGED_NEW MemoryHolderTmp(0, "unmanaged");
    }
    UtDebug::setMemoryDebugFlags(0);
    const std::string out = GetCapturedStdout();
    EXPECT_THAT(out, HasSubstr(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Flags, UtMemoryTrace,
    ::testing::Values(TraceCase{0x01, "allocator_malloc [count "}, TraceCase{0x01, "allocator_free [count "},
                      TraceCase{0x02, "tmp / malloc <global-tmp ["}, TraceCase{0x02, "tmp / free <global-tmp ["},
                      TraceCase{0x02, "================== tmp / createNewPage (size : "},
                      TraceCase{0x02, "================== tmp / detete page / raw 0x"},
                      TraceCase{0x04, "fixed / malloc <traced ["},
                      TraceCase{0x04, "fixed / free <traced ["},
                      TraceCase{0x04, "************ fixed / page fixed["},
                      TraceCase{0x08, "Unmanaged new ["}, TraceCase{0x08, "Unmanaged delete ["},
                      TraceCase{0x30, "<mem info> malloc local [no."},
                      TraceCase{0x30, "           <mem info> free local [no."},
                      TraceCase{0x80, "UtMemory::placementNew_debug\t0x"}));

TEST(UtMemoryTraceOff, NoFlagsNoTraces)
{
    UtDebug::setMemoryDebugFlags(0);
    CaptureStdout();
    MemoryHolderTmp tmp(0, "quiet", AllocationMode::Paged);
    UtMemory::free(tmp.malloc(10, 4));
    EXPECT_EQ(GetCapturedStdout(), "");
}

}  // namespace
}  // namespace mesh2d
