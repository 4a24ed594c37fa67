#pragma once

#include <algorithm>

namespace platform {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Half-open rectangle: [left, right) x [top, bottom).
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static Rect FromSize(Point origin, Size size) {
        return {origin.x, origin.y, origin.x + size.width, origin.y + size.height};
    }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    Size Dimensions() const { return {Width(), Height()}; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    Rect Intersect(const Rect& o) const {
        Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
               std::min(bottom, o.bottom)};
        return r.Empty() ? Rect{} : r;
    }
    Rect Union(const Rect& o) const {
        if (Empty()) return o;
        if (o.Empty()) return *this;
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
                std::max(bottom, o.bottom)};
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace platform
