// Growth, element construction and failure handling of LDVector.
#include <gtest/gtest.h>

#include <vector>

#include "Mesh2DTestSupport.h"
#include "mesh2d/memory/MemoryParam.h"
#include "mesh2d/memory/fixed/MemoryHolderFixed.h"
#include "mesh2d/type/LDString.h"
#include "mesh2d/type/LDVector.h"

namespace mesh2d {
namespace {

using LDVectorTest = test::RuntimeTest;

TEST_F(LDVectorTest, CapacityZeroGrowsTo10ThenDoubles)
{
    LDVector<int> v(UtMemory::getTmpMemoryParam());
    EXPECT_EQ(v.capacity(), 0);
    std::vector<int> seen;
    for (int i = 0; i < 41; ++i) {
        ASSERT_TRUE(v.push_back(i));
        if (seen.empty() || seen.back() != v.capacity()) seen.push_back(v.capacity());
    }
    EXPECT_EQ(seen, (std::vector<int>{10, 20, 40, 80}));
    for (int i = 0; i < 41; ++i) EXPECT_EQ(v[i], i);
}

TEST_F(LDVectorTest, ConstructionCases)
{
    MemoryParam* tmp = UtMemory::getTmpMemoryParam();
    const struct {
        int capacity, size;
        bool zero;
        int wantCapacity, wantSize;
    } cases[] = {{0, 5, false, 0, 0}, {-3, 2, false, 0, 0}, {8, 3, true, 8, 3}, {4, 0, false, 4, 0}};
    for (const auto& c : cases) {
        LDVector<float> v(tmp, c.capacity, c.size, c.zero);
        EXPECT_EQ(v.capacity(), c.wantCapacity) << c.capacity;
        EXPECT_EQ(v.size(), c.wantSize) << c.capacity;
        if (c.zero) {
            for (int i = 0; i < v.capacity(); ++i) EXPECT_EQ(v.data()[i], 0.0f);
        }
    }
}

TEST_F(LDVectorTest, NullParameterIsReportedAndUsesTheTmpHolder)
{
    ::testing::internal::CaptureStdout();
    LDVector<int> v(nullptr, 4);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "BREAK POINT@LDVector\n");
    EXPECT_EQ(v.capacity(), 4);
    EXPECT_TRUE(v.push_back(1));
}

TEST_F(LDVectorTest, PointerElementsAreNotOwned)
{
    MemoryParam* tmp = UtMemory::getTmpMemoryParam();
    LDString* s = LD_NEW(tmp) LDString("owned elsewhere");
    {
        LDVector<LDString*> v(tmp);
        v.push_back(s);
    }
    EXPECT_EQ(*s, "owned elsewhere");
    delete s;
}

TEST_F(LDVectorTest, StringElementsAreCopiedRelocatedAndDestroyed)
{
    const int objects = LDObject::getInstanceCount();
    {
        LDVector<LDString> v(UtMemory::getTmpMemoryParam());
        for (int i = 0; i < 25; ++i) {  // two relocations
            char name[16];
            std::snprintf(name, sizeof name, "name%d", i);
            LDString s(name);
            ASSERT_TRUE(v.push_back(s));
        }
        EXPECT_EQ(v[0], "name0");
        EXPECT_EQ(v[24], "name24");
        EXPECT_EQ(v[13].getHashcode(), LDString("name13").getHashcode());
        EXPECT_EQ(LDObject::getInstanceCount(), objects + 1 + 25);
        v.resize(3);  // dropped strings are destroyed
        EXPECT_EQ(LDObject::getInstanceCount(), objects + 1 + 3);
        v.remove(1);
        EXPECT_EQ(v.size(), 2);
        EXPECT_EQ(v[1], "name2");
    }
    EXPECT_EQ(LDObject::getInstanceCount(), objects);
}

TEST_F(LDVectorTest, AssignOverwritesAllAndResizeOnlyTheNewTail)
{
    LDVector<int> v(UtMemory::getTmpMemoryParam());
    v.assign(3, 7);
    EXPECT_EQ(v.size(), 3);
    v[1] = 1;
    v.resize(5, 9);
    EXPECT_EQ(std::vector<int>(v.begin(), v.end()), (std::vector<int>{7, 1, 7, 9, 9}));
    v.assign(2, 4);
    EXPECT_EQ(std::vector<int>(v.begin(), v.end()), (std::vector<int>{4, 4}));
    v.clear();
    EXPECT_EQ(v.size(), 0);
    EXPECT_EQ(v.capacity(), 0);
    EXPECT_EQ(v.data(), nullptr);
}

// A holder that serves a fixed number of bytes, then refuses.
class BudgetHolder : public AMemoryHolder {
public:
    explicit BudgetHolder(size_t budget) : inner_(0, "budget", 4096, AllocationMode::Paged), budget_(budget) {}
    void* malloc(size_t size, int align) override
    {
        if (size > budget_) return nullptr;
        budget_ -= size;
        return inner_.malloc(size, align);
    }
    void free(APageHeader* h, void* p) override { inner_.free(h, p); }
    void clear() override { inner_.clear(); }
    void checkPageHeaders() override {}

private:
    MemoryHolderFixed inner_;
    size_t budget_;
};

TEST_F(LDVectorTest, FailedGrowthRefusesTheWriteAndKeepsTheArray)
{
    BudgetHolder holder(10 * sizeof(int));
    MemoryParam param(&holder, nullptr);
    LDVector<int> v(&param);
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(v.push_back(i));
    int* array = v.data();
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(v.push_back(10));
    EXPECT_FALSE(v.resize(11, 0));
    EXPECT_FALSE(v.assign(30, 0));
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(v.size(), 10);
    EXPECT_EQ(v.capacity(), 10);
    EXPECT_EQ(v.data(), array);
    EXPECT_EQ(v[9], 9);
}

TEST_F(LDVectorTest, FailedConstructionLeavesAnEmptyVector)
{
    BudgetHolder holder(0);
    MemoryParam param(&holder, nullptr);
    LDVector<double> v(&param, 16, 16);
    EXPECT_EQ(v.capacity(), 0);
    EXPECT_EQ(v.size(), 0);
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(v.push_back(1.0));
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(v.size(), 0);
}

}  // namespace
}  // namespace mesh2d
