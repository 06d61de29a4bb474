#include "mesh2d/base/DeformMath.h"

#include <cmath>

namespace mesh2d {

void mapAffine(const AffineMapping& m, const float* src, float* dst, int count, int offset, int stride) {
    const float theta = m.rotationDeg * 0.017453292f;
    const float c = static_cast<float>(std::cos(static_cast<double>(theta)));
    const float s = static_cast<float>(std::sin(static_cast<double>(theta)));
    const float k = m.scale;
    const float rx = m.reflectX ? -1.0f : 1.0f;
    const float ry = m.reflectY ? -1.0f : 1.0f;
    const float a = c * k * rx;
    const float b = s * k * ry;
    const float cc = s * k * rx;
    const float d = c * k * ry;
    for (int p = 0; p < count; ++p) {
        const int i = offset + p * stride;
        const float x = src[i];
        const float y = src[i + 1];
        dst[i] = m.originX + a * x - b * y;
        dst[i + 1] = m.originY + cc * x + d * y;
    }
}

namespace {

struct Vec {
    float x, y;
};

class GridMapper {
public:
    GridMapper(const float* grid, int columns, int rows) : g_(grid), c_(columns), r_(rows) {}

    Vec map(float x, float y) {
        const float xc = x * static_cast<float>(c_);
        const float yr = y * static_cast<float>(r_);
        const bool inX = 0.0f <= xc && xc < static_cast<float>(c_);
        const bool inY = 0.0f <= yr && yr < static_cast<float>(r_);
        if (inX && inY) return inside(xc, yr);
        // Non-finite coordinates fail every comparison below and end here too.
        if (!(x > -2.0f && x < 3.0f && y > -2.0f && y < 3.0f)) return fit(x, y);
        if (inY) return sideBand(x, yr);
        if (inX) return endBand(xc, y);
        return corner(x, y);
    }

private:
    Vec G(int i, int j) const {
        const int k = 2 * (j * (c_ + 1) + i);
        return {g_[k], g_[k + 1]};
    }

    // Splits a cell along its diagonal from (1, 0) to (0, 1).
    static Vec cell(float tx, float ty, Vec q00, Vec q10, Vec q01, Vec q11, bool lowerStrict) {
        const bool lower = lowerStrict ? (tx + ty < 1.0f) : (tx + ty <= 1.0f);
        if (lower) {
            const float w = 1.0f - tx - ty;
            return {w * q00.x + tx * q10.x + ty * q01.x, w * q00.y + tx * q10.y + ty * q01.y};
        }
        const float w = tx + ty - 1.0f;
        return {w * q11.x + (1.0f - ty) * q10.x + (1.0f - tx) * q01.x,
                w * q11.y + (1.0f - ty) * q10.y + (1.0f - tx) * q01.y};
    }

    Vec inside(float xc, float yr) const {
        int i = static_cast<int>(xc);
        int j = static_cast<int>(yr);
        if (i > c_ - 1) i = c_ - 1;
        if (j > r_ - 1) j = r_ - 1;
        const float fx = xc - static_cast<float>(i);
        const float fy = yr - static_cast<float>(j);
        return cell(fx, fy, G(i, j), G(i + 1, j), G(i, j + 1), G(i + 1, j + 1), true);
    }

    // The corner fit is made once, and only when a point needs it.
    Vec fit(float x, float y) {
        if (!fitReady_) {
            const Vec p00 = G(0, 0), p10 = G(c_, 0), p01 = G(0, r_), p11 = G(c_, r_);
            a_ = {(p10.x + p11.x - p00.x - p01.x) / 2.0f, (p10.y + p11.y - p00.y - p01.y) / 2.0f};
            b_ = {(p01.x + p11.x - p00.x - p10.x) / 2.0f, (p01.y + p11.y - p00.y - p10.y) / 2.0f};
            o_ = {(p00.x + p10.x + p01.x + p11.x) / 4.0f - (p11.x - p00.x) / 2.0f,
                  (p00.y + p10.y + p01.y + p11.y) / 4.0f - (p11.y - p00.y) / 2.0f};
            fitReady_ = true;
        }
        return {o_.x + x * a_.x + y * b_.x, o_.y + x * a_.y + y * b_.y};
    }

    int rowOf(float yr) const {
        int j = static_cast<int>(yr);
        return j > r_ - 1 ? r_ - 1 : j;
    }
    int columnOf(float xc) const {
        int i = static_cast<int>(xc);
        return i > c_ - 1 ? c_ - 1 : i;
    }

    // Left or right of the square, 0 ≤ y < 1.
    Vec sideBand(float x, float yr) {
        const int j = rowOf(yr);
        const float ty = yr - static_cast<float>(j);
        const float y0 = static_cast<float>(j) / static_cast<float>(r_);
        const float y1 = static_cast<float>(j + 1) / static_cast<float>(r_);
        if (x < 0.0f) {
            return cell((x + 2.0f) / 2.0f, ty, fit(-2.0f, y0), G(0, j), fit(-2.0f, y1), G(0, j + 1), false);
        }
        return cell((x - 1.0f) / 2.0f, ty, G(c_, j), fit(3.0f, y0), G(c_, j + 1), fit(3.0f, y1), false);
    }

    // Above or below the square, 0 ≤ x < 1.
    Vec endBand(float xc, float y) {
        const int i = columnOf(xc);
        const float tx = xc - static_cast<float>(i);
        const float x0 = static_cast<float>(i) / static_cast<float>(c_);
        const float x1 = static_cast<float>(i + 1) / static_cast<float>(c_);
        if (y < 0.0f) {
            return cell(tx, (y + 2.0f) / 2.0f, fit(x0, -2.0f), fit(x1, -2.0f), G(i, 0), G(i + 1, 0), false);
        }
        return cell(tx, (y - 1.0f) / 2.0f, G(i, r_), G(i + 1, r_), fit(x0, 3.0f), fit(x1, 3.0f), false);
    }

    // Both coordinates outside [0, 1): one grid corner, three fit points.
    Vec corner(float x, float y) {
        const bool left = x < 0.0f;
        const bool top = y < 0.0f;
        const float tx = left ? (x + 2.0f) / 2.0f : (x - 1.0f) / 2.0f;
        const float ty = top ? (y + 2.0f) / 2.0f : (y - 1.0f) / 2.0f;
        if (left && top) return cell(tx, ty, fit(-2, -2), fit(0, -2), fit(-2, 0), G(0, 0), false);
        if (!left && top) return cell(tx, ty, fit(1, -2), fit(3, -2), G(c_, 0), fit(3, 0), false);
        if (left) return cell(tx, ty, fit(-2, 1), G(0, r_), fit(-2, 3), fit(0, 3), false);
        return cell(tx, ty, G(c_, r_), fit(3, 1), fit(1, 3), fit(3, 3), false);
    }

    const float* g_;
    int c_, r_;
    bool fitReady_ = false;
    Vec a_{}, b_{}, o_{};
};

}  // namespace

void mapGrid(const float* grid, int columns, int rows, const float* src, float* dst, int count, int offset,
             int stride) {
    if (grid == nullptr || columns < 1 || rows < 1) return;
    GridMapper mapper(grid, columns, rows);
    for (int p = 0; p < count; ++p) {
        const int i = offset + p * stride;
        const Vec v = mapper.map(src[i], src[i + 1]);
        dst[i] = v.x;
        dst[i + 1] = v.y;
    }
}

}  // namespace mesh2d
