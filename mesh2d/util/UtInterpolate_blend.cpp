// The blend arithmetic of UtInterpolate. Kept free of model objects so the
// per-frame inner loops stay tight and can be checked exactly.
#include <cstring>

#include "mesh2d/param/PivotMath.h"
#include "mesh2d/util/UtInterpolate.h"

namespace mesh2d {
namespace {

inline float lerp(float a, float b, float t) { return a + (b - a) * t; }
inline float mix(float x, float y, float t) { return (1.0f - t) * x + t * y; }

// Product weights of all 2^n combinations for the general form.
void productWeights(int n, const float* t, float* out) {
    const int size = 1 << n;
    for (int k = 0; k < size; ++k) {
        float w = 1.0f;
        for (int j = 0; j < n; ++j) w *= ((k >> j) & 1) ? t[j] : 1.0f - t[j];
        out[k] = w;
    }
}

template <typename Get>
float nestedFloat(int n, const float* t, Get v) {
    switch (n) {
    case 1:
        return lerp(v(0), v(1), t[0]);
    case 2:
        return mix(lerp(v(0), v(1), t[0]), lerp(v(2), v(3), t[0]), t[1]);
    case 3:
        return mix(mix(lerp(v(0), v(1), t[0]), lerp(v(2), v(3), t[0]), t[1]),
                   mix(lerp(v(4), v(5), t[0]), lerp(v(6), v(7), t[0]), t[1]), t[2]);
    default:  // 4
        return mix(mix(mix(lerp(v(0), v(1), t[0]), lerp(v(2), v(3), t[0]), t[1]),
                       mix(lerp(v(4), v(5), t[0]), lerp(v(6), v(7), t[0]), t[1]), t[2]),
                   mix(mix(lerp(v(8), v(9), t[0]), lerp(v(10), v(11), t[0]), t[1]),
                       mix(lerp(v(12), v(13), t[0]), lerp(v(14), v(15), t[0]), t[1]), t[2]),
                   t[3]);
    }
}

// Integer steps: every intermediate result is truncated before it is used.
int nestedInt(int n, const float* t, const unsigned short* e, const int* values) {
    int level[16];
    const int size = 1 << n;
    for (int k = 0; k < size; ++k) level[k] = values[e[k]];
    int count = size;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < count / 2; ++i) {
            const float a = static_cast<float>(level[2 * i]);
            const float b = static_cast<float>(level[2 * i + 1]);
            level[i] = static_cast<int>(j == 0 ? lerp(a, b, t[0]) : mix(a, b, t[j]));
        }
        count /= 2;
    }
    return level[0];
}

// Packed points (stride 2): x and y take the same blend, so the pairs are
// blended as one flat array of 2 × pointCount floats. The destination never
// overlaps the point sets; saying so lets the compiler vectorise across
// points (the 2^N source arrays are too many for its run-time overlap
// checks). Each float still goes through the same operations in the same
// order as in the per-coordinate form, so the results are the same bits.
template <int N>
void nestedPacked(const float* t, const unsigned short* e, float* const* sets, int floatCount,
                  float* __restrict dst) {
    const float* s[1 << N];
    for (int k = 0; k < (1 << N); ++k) s[k] = sets[e[k]];
    float w[N];  // a local copy stays in registers across the loop
    for (int j = 0; j < N; ++j) w[j] = t[j];
#if defined(__clang__)
#pragma clang loop vectorize(assume_safety)
#elif defined(__GNUC__)
#pragma GCC ivdep
#endif
    for (int i = 0; i < floatCount; ++i) dst[i] = nestedFloat(N, w, [&](int k) { return s[k][i]; });
}

template <int N>
void nestedPointsN(const float* t, const unsigned short* e, float* const* sets, int pointCount, float* dst,
                   int offset, int stride) {
    if (stride == 2) {
        nestedPacked<N>(t, e, sets, 2 * pointCount, dst + offset);
        return;
    }
    const float* s[1 << N];
    for (int k = 0; k < (1 << N); ++k) s[k] = sets[e[k]];
    for (int p = 0; p < pointCount; ++p) {
        float* out = dst + offset + p * stride;
        for (int c = 0; c < 2; ++c) {
            const int i = 2 * p + c;
            out[c] = nestedFloat(N, t, [&](int k) { return s[k][i]; });
        }
    }
}

}  // namespace

int UtInterpolate::blendInt(int n, const float* t, const unsigned short* e, const int* values) {
    if (n <= 0) return values[e[0]];
    if (n <= 4) return nestedInt(n, t, e, values);
    float w[PIVOT_TABLE_SIZE];
    productWeights(n, t, w);
    float sum = 0.0f;
    for (int k = 0; k < (1 << n); ++k) sum += static_cast<float>(values[e[k]]) * w[k];
    return static_cast<int>(sum);
}

float UtInterpolate::blendFloat(int n, const float* t, const unsigned short* e, const float* values) {
    if (n <= 0) return values[e[0]];
    if (n <= 4) return nestedFloat(n, t, [&](int k) { return values[e[k]]; });
    float w[PIVOT_TABLE_SIZE];
    productWeights(n, t, w);
    float sum = 0.0f;
    for (int k = 0; k < (1 << n); ++k) sum += values[e[k]] * w[k];
    return sum;
}

void UtInterpolate::blendPoints(int n, const float* t, const unsigned short* e, float* const* sets, int pointCount,
                                float* dst, int offset, int stride) {
    switch (n) {
    case 0: {
        const float* s = sets[e[0]];
        if (offset == 0 && stride == 2) {
            std::memmove(dst, s, sizeof(float) * 2 * static_cast<size_t>(pointCount));
            return;
        }
        for (int p = 0; p < pointCount; ++p) {
            dst[offset + p * stride] = s[2 * p];
            dst[offset + p * stride + 1] = s[2 * p + 1];
        }
        return;
    }
    case 1: nestedPointsN<1>(t, e, sets, pointCount, dst, offset, stride); return;
    case 2: nestedPointsN<2>(t, e, sets, pointCount, dst, offset, stride); return;
    case 3: nestedPointsN<3>(t, e, sets, pointCount, dst, offset, stride); return;
    case 4: nestedPointsN<4>(t, e, sets, pointCount, dst, offset, stride); return;
    default: break;
    }
    float w[PIVOT_TABLE_SIZE];
    productWeights(n, t, w);
    const int size = 1 << n;
    for (int p = 0; p < pointCount; ++p) {
        float* out = dst + offset + p * stride;
        for (int c = 0; c < 2; ++c) {
            float sum = 0.0f;
            for (int k = 0; k < size; ++k) sum += sets[e[k]][2 * p + c] * w[k];
            out[c] = sum;
        }
    }
}

}  // namespace mesh2d
