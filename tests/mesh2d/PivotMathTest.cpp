// Pivot location and combination indices, checked exactly.
#include <gtest/gtest.h>

#include <vector>

#include "mesh2d/param/PivotMath.h"

namespace mesh2d {
namespace {

struct LocateCase {
    const char* name;
    std::vector<float> pivots;
    float value;
    int index;
    float weight;
    bool outOfRange;
};

void PrintTo(const LocateCase& c, std::ostream* os) { *os << c.name; }

class LocatePivot : public ::testing::TestWithParam<LocateCase> {};

TEST_P(LocatePivot, FindsIndexWeightAndRange) {
    const LocateCase& c = GetParam();
    bool out = false;
    const PivotPosition p = locatePivot(c.value, c.pivots.data(), static_cast<int>(c.pivots.size()), &out);
    EXPECT_EQ(p.index, c.index);
    EXPECT_FLOAT_EQ(p.weight, c.weight);
    EXPECT_EQ(out, c.outOfRange);
}

const LocateCase kLocateCases[] = {
    {"SnapsToMiddle", {-1, 0, 1}, 0.00005f, 1, 0.0f, false},
    {"BetweenMiddleAndTop", {-1, 0, 1}, 0.5f, 1, 0.5f, false},
    {"AboveTopClamps", {-1, 0, 1}, 1.5f, 2, 0.0f, true},
    {"BelowBottomClamps", {-1, 0, 1}, -1.5f, 0, 0.0f, true},
    {"WithinEpsilonBelowBottom", {-1, 0, 1}, -1.00005f, 0, 0.0f, false},
    {"WithinEpsilonBelowTop", {-1, 0, 1}, 0.99995f, 2, 0.0f, false},
    {"QuarterOfFirstSpan", {-1, 0, 1}, -0.75f, 0, 0.25f, false},
    {"UnevenSpans", {0, 10, 30}, 25.0f, 1, 0.75f, false},
    {"OnePivotOnIt", {0}, 0.00005f, 0, 0.0f, false},
    {"OnePivotOff", {0}, 0.0002f, 0, 0.0f, true},
    {"OnePivotBelow", {0}, -0.0002f, 0, 0.0f, true},
    {"NoPivots", {}, 3.0f, -1, 0.0f, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, LocatePivot, ::testing::ValuesIn(kLocateCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LocatePivot, NanIsOutOfRangeAtTheEnd) {
    const float pivots[] = {0, 1};
    bool out = false;
    const PivotPosition p = locatePivot(std::numeric_limits<float>::quiet_NaN(), pivots, 2, &out);
    EXPECT_TRUE(out);
    EXPECT_EQ(p.index, 1);
    EXPECT_EQ(p.weight, 0.0f);
}

std::vector<int> entries(const unsigned short* e, int n) { return std::vector<int>(e, e + (1 << n)); }

TEST(BuildPivotCombinations, FirstInterpolatingTableVariesFastest) {
    // Counts 3 and 2, indices 1 and 0, both interpolating.
    const PivotTableState tables[] = {{1, 0.5f, 3}, {0, 0.25f, 2}};
    unsigned short e[PIVOT_TABLE_SIZE + 1];
    float w[PIVOT_MAX_INTERPOLATING + 1];
    ASSERT_EQ(buildPivotCombinations(tables, 2, e, w), 2);
    EXPECT_EQ(entries(e, 2), (std::vector<int>{1, 2, 4, 5}));
    EXPECT_EQ(e[4], 0xFFFF);
    EXPECT_FLOAT_EQ(w[0], 0.5f);
    EXPECT_FLOAT_EQ(w[1], 0.25f);
    EXPECT_EQ(w[2], -1.0f);
}

TEST(BuildPivotCombinations, BitJBelongsToTheJthInterpolatingTable) {
    // Tables: interpolating (count 2, index 0), fixed at index 2 (count 3),
    // interpolating (count 2, index 0). Strides 1, 2, 6.
    const PivotTableState tables[] = {{0, 0.5f, 2}, {2, 0.0f, 3}, {0, 0.5f, 2}};
    unsigned short e[PIVOT_TABLE_SIZE + 1];
    float w[PIVOT_MAX_INTERPOLATING + 1];
    ASSERT_EQ(buildPivotCombinations(tables, 3, e, w), 2);
    // Fixed table adds 2 × 2 = 4 to every entry; bit 1 is the third table (stride 6).
    EXPECT_EQ(entries(e, 2), (std::vector<int>{4, 5, 10, 11}));
}

TEST(BuildPivotCombinations, NoInterpolatingTablePointsAtE0) {
    const PivotTableState tables[] = {{1, 0.0f, 3}, {1, 0.0f, 2}};
    unsigned short e[PIVOT_TABLE_SIZE + 1];
    float w[PIVOT_MAX_INTERPOLATING + 1];
    ASSERT_EQ(buildPivotCombinations(tables, 2, e, w), 0);
    EXPECT_EQ(e[0], 1 + 3 * 1);
    EXPECT_EQ(e[1], 0xFFFF);
    EXPECT_EQ(w[0], -1.0f);
}

TEST(BuildPivotCombinations, MoreThanSixInterpolatingTablesStayInTheWorkArea) {
    // Eight interpolating two-pivot tables: 256 combinations wanted, 64 kept;
    // tables seven and eight are held at their lower pivot (index 0 / 1).
    std::vector<PivotTableState> tables(8, PivotTableState{0, 0.5f, 2});
    tables[7].index = 1;
    unsigned short e[PIVOT_TABLE_SIZE + 2];
    float w[PIVOT_MAX_INTERPOLATING + 2];
    e[PIVOT_TABLE_SIZE + 1] = 0x1234;
    w[PIVOT_MAX_INTERPOLATING + 1] = 42.0f;
    ASSERT_EQ(buildPivotCombinations(tables.data(), 8, e, w), PIVOT_MAX_INTERPOLATING);
    EXPECT_EQ(e[0], 128);  // table eight at index 1, stride 128
    EXPECT_EQ(e[63], 63 + 128);
    EXPECT_EQ(e[64], 0xFFFF);
    EXPECT_EQ(e[65], 0x1234);  // untouched
    EXPECT_EQ(w[6], -1.0f);
    EXPECT_EQ(w[7], 42.0f);
}

TEST(BuildPivotCombinations, TableWithoutPositionIsAnError) {
    const PivotTableState tables[] = {{0, 0.5f, 2}, {-1, 0.0f, 0}};
    unsigned short e[PIVOT_TABLE_SIZE + 1];
    float w[PIVOT_MAX_INTERPOLATING + 1];
    EXPECT_EQ(buildPivotCombinations(tables, 2, e, w), -1);
}

}  // namespace
}  // namespace mesh2d
