#pragma once
// The arithmetic of pivot tables, free of any model object: where a parameter
// value falls among a table's pivots, and which stored combinations (and with
// which weights) the current positions of several tables select.
//
// Combinations are stored with the first table varying fastest: the pivot
// indices (k1 .. km) of tables with pivot counts (c1 .. cm) live at
// k1 + c1·k2 + c1·c2·k3 + ...
namespace mesh2d {

// Values closer than this to a pivot snap to it.
constexpr float PIVOT_EPSILON = 0.0001f;
// Combinations the work area holds: six interpolating tables at once.
constexpr int PIVOT_TABLE_SIZE = 64;
constexpr int PIVOT_MAX_INTERPOLATING = 6;

struct PivotPosition {
    int index;     // lower pivot (or the pivot the value sits on); -1 with no pivots
    float weight;  // 0 on a pivot, else the share of the upper pivot (index + 1)
};

// Locates `value` among `count` ascending pivots. Sets *outOfRange (never
// clears it) when the value lies outside the pivots; it is then clamped to
// the end pivot.
PivotPosition locatePivot(float value, const float* pivots, int count, bool* outOfRange);

// One table as the combination builder sees it.
struct PivotTableState {
    int index;
    float weight;
    int pivotCount;
};

// Fills the combination indices of the interpolating tables (those with a
// non-zero weight) and their weights, followed by the end marks 0xFFFF and -1:
// entry k takes, for the j-th interpolating table, the upper pivot when bit j
// of k is set; tables with weight 0 add stride × index to every entry.
// `combinations` needs PIVOT_TABLE_SIZE + 1 entries, `weights`
// PIVOT_MAX_INTERPOLATING + 1. Interpolating tables beyond the sixth are
// held at their lower pivot so the work area is never overrun.
// Returns the number n of interpolating tables used (2^n entries), or -1
// when a table without a position (index < 0, weight 0) is met.
int buildPivotCombinations(const PivotTableState* tables, int tableCount, unsigned short* combinations,
                           float* weights);

}  // namespace mesh2d
