#pragma once
// Plain value types of the view tree: points, sizes, rectangles, colours and
// edge insets, all in points (the renderer multiplies by the screen scale).
#include <algorithm>

namespace platform::ui {

struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    double width = 0;
    double height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    Point origin;
    Size size;

    constexpr Rect() = default;
    constexpr Rect(Point o, Size s) : origin(o), size(s) {}
    constexpr Rect(double x, double y, double w, double h) : origin{x, y}, size{w, h} {}

    double x() const { return origin.x; }
    double y() const { return origin.y; }
    double width() const { return size.width; }
    double height() const { return size.height; }
    double maxX() const { return origin.x + size.width; }
    double maxY() const { return origin.y + size.height; }
    Point center() const { return {origin.x + size.width / 2, origin.y + size.height / 2}; }
    bool isEmpty() const { return size.width <= 0 || size.height <= 0; }

    // Edges excluded on the far side, like the phone's hit testing.
    bool contains(Point p) const {
        return p.x >= origin.x && p.y >= origin.y && p.x < maxX() && p.y < maxY();
    }
    // Both edges included: for "touch ended inside the start area" checks.
    bool containsInclusive(Point p) const {
        return p.x >= origin.x && p.y >= origin.y && p.x <= maxX() && p.y <= maxY();
    }
    Rect intersection(const Rect& o) const {
        double x0 = std::max(origin.x, o.origin.x), y0 = std::max(origin.y, o.origin.y);
        double x1 = std::min(maxX(), o.maxX()), y1 = std::min(maxY(), o.maxY());
        if (x1 <= x0 || y1 <= y0) return {};
        return {x0, y0, x1 - x0, y1 - y0};
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Straight (not premultiplied) components in 0..1.
struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 0;

    static constexpr Color clear() { return {0, 0, 0, 0}; }
    static constexpr Color black() { return {0, 0, 0, 1}; }
    static constexpr Color white() { return {1, 1, 1, 1}; }
    static constexpr Color lightGray() { return {2.0 / 3, 2.0 / 3, 2.0 / 3, 1}; }
    static constexpr Color darkGray() { return {1.0 / 3, 1.0 / 3, 1.0 / 3, 1}; }
    static constexpr Color gray(double white, double alpha) { return {white, white, white, alpha}; }
    friend bool operator==(const Color&, const Color&) = default;
};

struct EdgeInsets {
    double top = 0;
    double left = 0;
    double bottom = 0;
    double right = 0;
    bool isZero() const { return top == 0 && left == 0 && bottom == 0 && right == 0; }
    friend bool operator==(const EdgeInsets&, const EdgeInsets&) = default;
};

}  // namespace platform::ui
