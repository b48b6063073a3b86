#pragma once

#include "document/TileCodes.h"

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
    bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    Rect Normalized() const {
        return {std::min(left, right), std::min(top, bottom), std::max(left, right),
                std::max(top, bottom)};
    }
    Rect Inflated(int by) const { return {left - by, top - by, right + by, bottom + by}; }
    Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    bool Intersects(const Rect& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    // The part both share; empty (possibly with right < left) when they do not meet.
    Rect Intersected(const Rect& other) const {
        return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
    }
    // The smallest rectangle holding both; an empty one adds nothing.
    Rect United(const Rect& other) const {
        if (other.IsEmpty())
            return *this;
        if (IsEmpty())
            return other;
        return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                std::max(bottom, other.bottom)};
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The whole map in cells.
inline constexpr Rect MAP_CELL_RECT{0, 0, MAP_SIZE, MAP_SIZE};

// The cells of a rectangle that lie on the map.
inline Rect ClipToMap(const Rect& cells) {
    return cells.Intersected(MAP_CELL_RECT);
}

// A rectangle of cells moved inside the map, its size unchanged.
inline Rect ShiftIntoMap(const Rect& cells) {
    Rect r = cells;
    r = r.Offset(std::max(-r.left, 0), std::max(-r.top, 0));
    return r.Offset(std::min(MAP_SIZE - r.right, 0), std::min(MAP_SIZE - r.bottom, 0));
}

// Division rounding towards minus infinity: a pixel left of or above the origin lies in the
// cell before it, not in cell 0.
inline constexpr int FloorDiv(int a, int b) {
    return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0);
}

// Grows a bounding box of cells, kept as inclusive minimum and maximum while it is built.
class CellBounds {
public:
    void Add(int x, int y) {
        m_minX = std::min(m_minX, x);
        m_minY = std::min(m_minY, y);
        m_maxX = std::max(m_maxX, x);
        m_maxY = std::max(m_maxY, y);
    }
    bool IsEmpty() const { return m_maxX < 0; }
    // The cells as a rectangle, right and bottom excluded.
    Rect ToRect() const { return {m_minX, m_minY, m_maxX + 1, m_maxY + 1}; }

private:
    int m_minX = MAP_SIZE + 1;
    int m_minY = MAP_SIZE + 1;
    int m_maxX = -1;
    int m_maxY = -1;
};

} // namespace krav
