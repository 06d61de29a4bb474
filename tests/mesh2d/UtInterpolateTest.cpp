// The blend forms of UtInterpolate against hand-computed values.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "mesh2d/util/UtInterpolate.h"

namespace mesh2d {
namespace {

const unsigned short kIdentity[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,
                                    16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31};

TEST(UtInterpolateBlend, ZeroWeightsTakeTheFirstNamedCombination) {
    const float v[] = {1, 2, 3, 4};
    const unsigned short e[] = {2, 0xFFFF};
    EXPECT_EQ(UtInterpolate::blendFloat(0, nullptr, e, v), 3.0f);
    const int vi[] = {10, 20, 30};
    EXPECT_EQ(UtInterpolate::blendInt(0, nullptr, e, vi), 30);
}

TEST(UtInterpolateBlend, NestedFormsMatchTheirFormulas) {
    const float v[16] = {1, 3, 7, 2, -4, 5, 9, 0, 6, -2, 8, 1, 3, 3, -7, 4};
    const float t[4] = {0.25f, 0.5f, 0.75f, 0.125f};
    auto lerp = [](float a, float b, float x) { return a + (b - a) * x; };
    auto mix = [](float a, float b, float x) { return (1 - x) * a + x * b; };
    float l[8];
    for (int i = 0; i < 8; ++i) l[i] = lerp(v[2 * i], v[2 * i + 1], t[0]);
    EXPECT_EQ(UtInterpolate::blendFloat(1, t, kIdentity, v), l[0]);
    const float m2 = mix(l[0], l[1], t[1]);
    EXPECT_EQ(UtInterpolate::blendFloat(2, t, kIdentity, v), m2);
    const float m3 = mix(m2, mix(l[2], l[3], t[1]), t[2]);
    EXPECT_EQ(UtInterpolate::blendFloat(3, t, kIdentity, v), m3);
    const float upper = mix(mix(l[4], l[5], t[1]), mix(l[6], l[7], t[1]), t[2]);
    EXPECT_EQ(UtInterpolate::blendFloat(4, t, kIdentity, v), mix(m3, upper, t[3]));
    EXPECT_FLOAT_EQ(UtInterpolate::blendFloat(1, t, kIdentity, v), 1.5f);
}

TEST(UtInterpolateBlend, GeneralSumFromFiveTables) {
    // Value of combination k = k: the blend is Σ k·weight(k) = Σ_j 2^j·t_j.
    std::vector<float> v(32);
    for (int k = 0; k < 32; ++k) v[k] = static_cast<float>(k);
    const float t[5] = {0.5f, 0.25f, 1.0f, 0.0f, 0.75f};
    EXPECT_NEAR(UtInterpolate::blendFloat(5, t, kIdentity, v.data()), 0.5f + 0.5f + 4.0f + 0.0f + 12.0f, 1e-5);
}

TEST(UtInterpolateBlend, IntegerFormTruncatesEveryStep) {
    // n = 2: inner steps 1.5 → 1 and 2.5 → 2, outer 1.5 → 1; blending in float
    // and truncating once would give trunc(2.0) = 2.
    const int v[] = {0, 3, 1, 4};
    const float t[] = {0.5f, 0.5f};
    EXPECT_EQ(UtInterpolate::blendInt(2, t, kIdentity, v), 1);
    const int one[] = {0, 3};
    EXPECT_EQ(UtInterpolate::blendInt(1, t, kIdentity, one), 1);
    const int neg[] = {0, -3};
    EXPECT_EQ(UtInterpolate::blendInt(1, t, kIdentity, neg), -1);  // towards zero
}

TEST(UtInterpolateBlend, IntegerGeneralSumTruncatesOnce) {
    std::vector<int> v(32, 0);
    v[1] = 3;  // only combination 1 (bit 0 set, others clear) is non-zero
    const float t[5] = {0.5f, 0, 0, 0, 0};
    // weight(1) = 0.5 → 1.5 → 1.
    EXPECT_EQ(UtInterpolate::blendInt(5, t, kIdentity, v.data()), 1);
}

TEST(UtInterpolateBlend, PointsHonourOffsetAndStride) {
    float a[] = {0, 0, 10, 20};
    float b[] = {2, 4, 30, 40};
    float* sets[] = {a, b};
    const float t[] = {0.5f};
    float dst[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
    UtInterpolate::blendPoints(1, t, kIdentity, sets, 2, dst, 1, 4);
    EXPECT_EQ(std::vector<float>(dst, dst + 8), (std::vector<float>{-1, 1, 2, -1, -1, 20, 30, -1}));
    float copy[4];
    const unsigned short e1[] = {1, 0xFFFF};
    UtInterpolate::blendPoints(0, nullptr, e1, sets, 2, copy, 0, 2);
    EXPECT_EQ(std::vector<float>(copy, copy + 4), (std::vector<float>(b, b + 4)));
}

TEST(UtInterpolateBlend, PointsUseTheSameSchemeAsFloats) {
    // Every coordinate of every point must be the very bits blendFloat gives
    // for that coordinate, for packed points (whole blocks and tails of the
    // vectorised loop, with and without an offset) and for a wider stride.
    constexpr int kSets = 32;
    constexpr int kPoints = 37;
    std::vector<std::vector<float>> storage(kSets, std::vector<float>(2 * kPoints));
    std::vector<float*> sets;
    for (int k = 0; k < kSets; ++k) {
        for (int i = 0; i < 2 * kPoints; ++i) {
            storage[k][i] = static_cast<float>((k * 7 + i * 13) % 29) * 0.37f - static_cast<float>(i) * 1.1f;
        }
        sets.push_back(storage[k].data());
    }
    const float t[6] = {0.3f, 0.6f, 0.1f, 0.9f, 0.45f, 0.2f};
    struct Layout {
        int points, offset, stride;
    };
    const Layout layouts[] = {{1, 0, 2}, {kPoints, 0, 2}, {kPoints, 1, 2}, {kPoints, 2, 3}};
    for (const Layout& l : layouts) {
        for (int n = 0; n <= 5; ++n) {
            std::vector<float> dst(static_cast<size_t>(l.offset + l.points * l.stride + 1), -7.0f);
            UtInterpolate::blendPoints(n, t, kIdentity, sets.data(), l.points, dst.data(), l.offset, l.stride);
            for (int i = 0; i < 2 * l.points; ++i) {
                std::vector<float> column(kSets);
                for (int k = 0; k < kSets; ++k) column[k] = storage[k][i];
                const float expected = UtInterpolate::blendFloat(n, t, kIdentity, column.data());
                const size_t at = static_cast<size_t>(l.offset + (i / 2) * l.stride + i % 2);
                ASSERT_EQ(std::memcmp(&dst[at], &expected, sizeof(float)), 0)
                    << "n = " << n << ", float " << i << ", offset " << l.offset << ", stride " << l.stride << ": "
                    << dst[at] << " vs " << expected;
            }
            EXPECT_EQ(dst.back(), -7.0f) << "written past the last point";
        }
    }
}

}  // namespace
}  // namespace mesh2d
