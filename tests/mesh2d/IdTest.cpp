// Interning of the four ID kinds and their release at dispose.
#include <gtest/gtest.h>

#include <vector>

#include "Mesh2DTestSupport.h"
#include "mesh2d/id/BaseDataID.h"
#include "mesh2d/id/DrawDataID.h"
#include "mesh2d/id/ParamID.h"
#include "mesh2d/id/PartsDataID.h"
#include "mesh2d/type/StringRef.h"

namespace mesh2d {
namespace {

using IdTest = test::RuntimeTest;

TEST_F(IdTest, SameNameSameObjectWhateverTheInputForm)
{
    ParamID* a = ParamID::getID("PARAM_BUST");
    ASSERT_NE(a, nullptr);
    const char file[] = "xxPARAM_BUSTyy";
    EXPECT_EQ(ParamID::getID("PARAM_BUST"), a);
    EXPECT_EQ(ParamID::getID(LDString("PARAM_BUST")), a);
    EXPECT_EQ(ParamID::getID(StringRef(file + 2, 10)), a);
    EXPECT_EQ(a->getName(), "PARAM_BUST");
    EXPECT_NE(ParamID::getID("PARAM_BUS"), a);
    EXPECT_NE(ParamID::getID("PARAM_BUST_"), a);
}

TEST_F(IdTest, KindsAreSeparateTables)
{
    ID* param = ParamID::getID("SAME");
    ID* parts = PartsDataID::getID("SAME");
    ID* base = BaseDataID::getID("SAME");
    ID* draw = DrawDataID::getID("SAME");
    EXPECT_NE(param, parts);
    EXPECT_NE(param, base);
    EXPECT_NE(base, draw);
    EXPECT_NE(parts, draw);
    EXPECT_EQ(PartsDataID::getID(StringRef("SAME", 4)), parts);
    EXPECT_EQ(BaseDataID::getID(LDString("SAME")), base);
    EXPECT_EQ(DrawDataID::getID("SAME"), draw);
}

TEST_F(IdTest, TablesStartAtTheirCapacityAndGrowByDoublingKeepingAddresses)
{
    ParamID::getID("P0");
    BaseDataID::getID("B0");
    DrawDataID::getID("D0");
    PartsDataID::getID("Q0");
    EXPECT_EQ(ParamID::getTableCapacity(), 64);
    EXPECT_EQ(BaseDataID::getTableCapacity(), 128);
    EXPECT_EQ(DrawDataID::getTableCapacity(), 256);
    EXPECT_EQ(PartsDataID::getTableCapacity(), 64);

    std::vector<ParamID*> ids{ParamID::getID("P0")};
    for (int i = 1; i < 64; ++i) ids.push_back(ParamID::getID(LDString("P") + std::to_string(i).c_str()));
    EXPECT_EQ(ParamID::getStoredCount(), 64);
    EXPECT_EQ(ParamID::getTableCapacity(), 64);
    ParamID* sixtyFifth = ParamID::getID("P64");
    EXPECT_EQ(ParamID::getTableCapacity(), 128);
    EXPECT_EQ(ParamID::getStoredCount(), 65);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(ParamID::getID(LDString("P") + std::to_string(i).c_str()), ids[i]);
        EXPECT_EQ(ids[i]->getName(), (LDString("P") + std::to_string(i).c_str()));
    }
    EXPECT_EQ(ParamID::getID("P64"), sixtyFifth);
}

TEST_F(IdTest, EmptyNameIsAnIdToo)
{
    DrawDataID* empty = DrawDataID::getID("");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(DrawDataID::getID(StringRef(nullptr, 0)), empty);
    EXPECT_EQ(empty->getName().length(), 0);
}

TEST(IdLifecycle, DisposeReleasesEveryTableAndTheNextRunStartsFresh)
{
    ::testing::internal::CaptureStdout();
    Mesh2D::init();
    ParamID::getID("A");
    BaseDataID::getID("B");
    const int objects = LDObject::getInstanceCount();
    Mesh2D::dispose();
    EXPECT_LT(LDObject::getInstanceCount(), objects);
    EXPECT_EQ(ParamID::getStoredCount(), 0);
    EXPECT_EQ(BaseDataID::getStoredCount(), 0);
    EXPECT_EQ(ParamID::getTableCapacity(), 0);
    // Without the runtime there is no ID.
    EXPECT_EQ(ParamID::getID("A"), nullptr);
    Mesh2D::init();
    EXPECT_NE(ParamID::getID("A"), nullptr);
    EXPECT_EQ(ParamID::getStoredCount(), 1);
    Mesh2D::dispose();
    ::testing::internal::GetCapturedStdout();
}

}  // namespace
}  // namespace mesh2d
