#include "mesh2d/param/PivotMath.h"

namespace mesh2d {

PivotPosition locatePivot(float value, const float* pivots, int count, bool* outOfRange) {
    if (count <= 0 || pivots == nullptr) return {-1, 0.0f};
    const float g = value;
    if (count == 1) {
        if (g <= pivots[0] - PIVOT_EPSILON || g >= pivots[0] + PIVOT_EPSILON) *outOfRange = true;
        return {0, 0.0f};
    }
    if (g < pivots[0] - PIVOT_EPSILON) {
        *outOfRange = true;
        return {0, 0.0f};
    }
    if (g < pivots[0] + PIVOT_EPSILON) return {0, 0.0f};
    for (int k = 1; k < count; ++k) {
        if (g < pivots[k] + PIVOT_EPSILON) {
            if (g > pivots[k] - PIVOT_EPSILON) return {k, 0.0f};
            return {k - 1, (g - pivots[k - 1]) / (pivots[k] - pivots[k - 1])};
        }
    }
    // g ≥ last pivot + ε (NaN also ends here: it compares false everywhere).
    *outOfRange = true;
    return {count - 1, 0.0f};
}

int buildPivotCombinations(const PivotTableState* tables, int tableCount, unsigned short* combinations,
                           float* weights) {
    int interpolating = 0;
    for (int t = 0; t < tableCount; ++t) {
        if (tables[t].weight != 0.0f) ++interpolating;
    }
    const int n = interpolating > PIVOT_MAX_INTERPOLATING ? PIVOT_MAX_INTERPOLATING : interpolating;
    const int size = 1 << n;
    for (int k = 0; k < size; ++k) combinations[k] = 0;

    int stride = 1;
    int w = 0;  // interpolating tables so far: the next one is bit w of k
    for (int t = 0; t < tableCount; ++t) {
        const PivotTableState& table = tables[t];
        if (table.weight != 0.0f && w < n) {
            for (int k = 0; k < size; ++k) {
                combinations[k] = static_cast<unsigned short>(combinations[k] + stride * (table.index + ((k >> w) & 1)));
            }
            weights[w++] = table.weight;
        } else {
            if (stride * table.index < 0) {
                combinations[0] = 0xFFFF;
                weights[0] = -1.0f;
                return -1;
            }
            for (int k = 0; k < size; ++k) {
                combinations[k] = static_cast<unsigned short>(combinations[k] + stride * table.index);
            }
        }
        stride *= table.pivotCount;
    }
    combinations[size] = 0xFFFF;
    weights[w] = -1.0f;
    return n;
}

}  // namespace mesh2d
