#pragma once
// Blending of values stored per pivot combination. The model-facing forms
// locate the current parameters among a pivot manager's tables (into the
// model context's work area) and blend; the blend forms take the work area
// directly: n interpolating weights t[0..n-1] and 2^n combination indices e[].
//
//  n = 0      V[e0]
//  n = 1..4   nested linear steps, innermost on t0 as a + (b - a)·t0, each
//             outer step as (1 - tj)·x + tj·y
//  n ≥ 5      Σ V[ek] · Π (tj if bit j of k is set, else 1 - tj)
namespace mesh2d {

class ModelContext;
class PivotManager;

class UtInterpolate {
public:
    static int interpolateInt(ModelContext* mdc, PivotManager* pivotMgr, bool* outOfRange, const int* values);
    static float interpolateFloat(ModelContext* mdc, PivotManager* pivotMgr, bool* outOfRange, const float* values);
    static void interpolatePoints(ModelContext* mdc, PivotManager* pivotMgr, bool* outOfRange, int pointCount,
                                  float* const* pointSets, float* dst, int offset, int stride);

    // The integer form truncates after every linear step for n ≤ 4 and the
    // final sum for n ≥ 5.
    static int blendInt(int n, const float* t, const unsigned short* e, const int* values);
    static float blendFloat(int n, const float* t, const unsigned short* e, const float* values);
    // Point k of the result goes to dst[offset + k·stride] and the next float;
    // dst must not overlap the point sets.
    static void blendPoints(int n, const float* t, const unsigned short* e, float* const* pointSets,
                            int pointCount, float* dst, int offset, int stride);
};

}  // namespace mesh2d
