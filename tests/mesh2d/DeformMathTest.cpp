// Point mappings of the affine and grid deformers.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "mesh2d/base/DeformMath.h"

namespace mesh2d {
namespace {

TEST(MapAffine, RotationAndReflection) {
    struct Case {
        bool reflectX, reflectY;
        float x, y, ex, ey;
    } cases[] = {
        {false, false, 1, 0, 10, 2},
        {true, false, 1, 0, 10, -2},
        {false, true, 0, 1, 12, 0},   // (0, 1) rotated 90° is (-1, 0); reflected y → (1, 0)
        {false, false, 0, 1, 8, 0},
    };
    for (const Case& c : cases) {
        AffineMapping m{10, 0, 90, 2, c.reflectX, c.reflectY};
        float p[2] = {c.x, c.y};
        mapAffine(m, p, p, 1, 0, 2);
        EXPECT_NEAR(p[0], c.ex, 1e-5) << c.reflectX << c.reflectY << " " << c.x << "," << c.y;
        EXPECT_NEAR(p[1], c.ey, 1e-5);
    }
    // The Part's example maps exactly.
    AffineMapping m{10, 0, 90, 2, false, false};
    float p[2] = {1, 0};
    mapAffine(m, p, p, 1, 0, 2);
    EXPECT_EQ(p[0], 10.0f);
    EXPECT_EQ(p[1], 2.0f);
}

TEST(MapAffine, OffsetAndStrideLeaveOtherSlotsAlone) {
    AffineMapping m{1, 2, 0, 3, false, false};
    float src[6] = {9, 1, 1, 9, 2, 2};
    float dst[6] = {0, 0, 0, 0, 0, 0};
    mapAffine(m, src, dst, 2, 1, 3);
    EXPECT_EQ(std::vector<float>(dst, dst + 6), (std::vector<float>{0, 4, 5, 0, 7, 8}));
}

std::vector<float> gridOf(int columns, int rows, float (*fx)(float, float), float (*fy)(float, float)) {
    std::vector<float> g;
    for (int j = 0; j <= rows; ++j) {
        for (int i = 0; i <= columns; ++i) {
            const float u = static_cast<float>(i) / columns, v = static_cast<float>(j) / rows;
            g.push_back(fx(u, v));
            g.push_back(fy(u, v));
        }
    }
    return g;
}

float affX(float u, float v) { return 2 * u + 0.5f * v + 1; }
float affY(float u, float v) { return -u + 3 * v - 1; }

std::pair<float, float> mapOne(const std::vector<float>& g, int c, int r, float x, float y) {
    float p[2] = {x, y};
    mapGrid(g.data(), c, r, p, p, 1, 0, 2);
    return {p[0], p[1]};
}

// An affine grid is reproduced exactly by every region: inside, the four
// bands, the four corner regions and far outside.
TEST(MapGrid, AffineGridIsReproducedInEveryRegion) {
    const auto g = gridOf(3, 2, affX, affY);
    const float points[][2] = {
        {0.5f, 0.5f}, {0.2f, 0.9f},                 // inside
        {-1.0f, 0.5f}, {-1.9f, 0.0f},               // left band (incl. y = 0)
        {2.0f, 0.3f}, {1.0f, 0.0f},                 // right band
        {0.4f, -1.0f}, {0.0f, -0.5f},               // top band (incl. x = 0)
        {0.7f, 2.5f}, {0.0f, 1.0f},                 // bottom band
        {-1.0f, -1.0f}, {2.0f, -1.5f}, {-0.5f, 2.0f}, {1.5f, 1.5f},  // corners
        {1.0f, 1.0f}, {-2.0f + 1e-3f, -1e-3f},
        {4.0f, 0.5f}, {0.5f, -7.0f}, {-3.0f, 5.0f}, // far outside
    };
    for (const auto& p : points) {
        const auto [x, y] = mapOne(g, 3, 2, p[0], p[1]);
        EXPECT_NEAR(x, affX(p[0], p[1]), 1e-4) << p[0] << "," << p[1];
        EXPECT_NEAR(y, affY(p[0], p[1]), 1e-4) << p[0] << "," << p[1];
    }
}

TEST(MapGrid, UpperTriangleOfTheExampleCell) {
    const std::vector<float> g = {0, 0, 1, 0, 0, 1, 2, 2};
    const auto [x, y] = mapOne(g, 1, 1, 0.75f, 0.75f);
    EXPECT_EQ(x, 1.25f);
    EXPECT_EQ(y, 1.25f);
}

TEST(MapGrid, FarOutsideUsesTheCornerFit) {
    const std::vector<float> g = {0, 0, 1, 0, 0, 1, 2, 2};
    // A = ((1,0)+(2,2)-(0,0)-(0,1))/2 = (1.5, 0.5), B = (0.5, 1.5),
    // O = (0.75, 0.75) - (1, 1) = (-0.25, -0.25); F(4, 0.5) = O + 4A + 0.5B.
    const auto [x, y] = mapOne(g, 1, 1, 4.0f, 0.5f);
    EXPECT_FLOAT_EQ(x, -0.25f + 6.0f + 0.25f);
    EXPECT_FLOAT_EQ(y, -0.25f + 2.0f + 0.75f);
}

float bendX(float u, float v) { return u + 0.3f * v * v; }
float bendY(float u, float v) { return v + 0.2f * std::sin(3 * u); }

// On a bent grid, the mapping is continuous across every region boundary:
// the square's edges, the band/corner boundaries and the far-outside limit.
TEST(MapGrid, ContinuousAcrossRegionBoundaries) {
    const auto g = gridOf(4, 3, bendX, bendY);
    const float e = 1e-4f;
    const float boundaries[][4] = {
        // point on one side, direction across
        {0.0f, 0.5f, 1, 0},  {1.0f, 0.5f, 1, 0},  {0.5f, 0.0f, 0, 1},  {0.5f, 1.0f, 0, 1},   // square edges
        {-1.0f, 0.0f, 0, 1}, {-1.0f, 1.0f, 0, 1}, {2.0f, 0.0f, 0, 1},  {2.0f, 1.0f, 0, 1},   // band | corner
        {0.0f, -1.0f, 1, 0}, {1.0f, -1.0f, 1, 0}, {0.0f, 2.0f, 1, 0},  {1.0f, 2.0f, 1, 0},
        {-2.0f, 0.5f, 1, 0}, {3.0f, 0.5f, 1, 0},  {0.5f, -2.0f, 0, 1}, {0.5f, 3.0f, 0, 1},   // far limit
        {-2.0f, -2.0f, 1, 1}, {3.0f, 3.0f, 1, 1},
    };
    for (const auto& b : boundaries) {
        const auto [x0, y0] = mapOne(g, 4, 3, b[0] - e * b[2], b[1] - e * b[3]);
        const auto [x1, y1] = mapOne(g, 4, 3, b[0] + e * b[2], b[1] + e * b[3]);
        EXPECT_NEAR(x0, x1, 1e-2) << b[0] << "," << b[1];
        EXPECT_NEAR(y0, y1, 1e-2) << b[0] << "," << b[1];
    }
}

TEST(MapGrid, NonFinitePointsDoNotIndexTheGrid) {
    const std::vector<float> g = {0, 0, 1, 0, 0, 1, 2, 2};
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const auto& p : {std::pair{nan, 0.5f}, std::pair{0.5f, nan}, std::pair{inf, 0.5f}, std::pair{0.5f, -inf}}) {
        const auto [x, y] = mapOne(g, 1, 1, p.first, p.second);
        EXPECT_FALSE(std::isfinite(x) && std::isfinite(y));
    }
}

}  // namespace
}  // namespace mesh2d
