#pragma once

#include <algorithm>

namespace krav {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// A rectangle with right and bottom excluded, in client pixels, map pixels or cells.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    Rect Normalized() const {
        return {std::min(left, right), std::min(top, bottom), std::max(left, right),
                std::max(top, bottom)};
    }
    Rect Inflated(int by) const { return {left - by, top - by, right + by, bottom + by}; }
    Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    bool Intersects(const Rect& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Grows a bounding box of cells, kept as inclusive minimum and maximum while it is built.
struct CellBounds {
    int minX = 1025, minY = 1025, maxX = -1, maxY = -1;

    void Add(int x, int y) {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    }
    bool IsEmpty() const { return maxX < 0; }
    // The cells as a rectangle, right and bottom excluded.
    Rect ToRect() const { return {minX, minY, maxX + 1, maxY + 1}; }
};

} // namespace krav
