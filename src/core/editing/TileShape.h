#pragma once

#include <algorithm>
#include <cstdint>

namespace krav {

// A shape value that produces no cell.
inline constexpr std::int32_t NO_CELL = -1;

// One cell of a rasterized shape and the value it gets.
struct ShapePoint {
    std::int16_t column = 0;
    std::int16_t row = 0;
    std::int16_t value = 0;

    friend bool operator==(const ShapePoint&, const ShapePoint&) = default;
};

// Turns a start cell and an end cell into the cells of a shape with their values. The result
// goes into the caller's buffer, so previewing a shape on every mouse move allocates nothing.
class TileShape {
public:
    virtual ~TileShape() = default;

    // Writes up to maxCount cells lying inside 0 <= x < width, 0 <= y < height into out and
    // returns how many it wrote; cells beyond maxCount are dropped. constrain (Shift) makes the
    // shape straight, square or round; fromCenter (Control) makes the start cell the centre.
    virtual int Rasterize(ShapePoint* out, int maxCount, int width, int height, int x0, int y0,
                          int x1, int y1, bool constrain, bool fromCenter) const = 0;
};

// The inclusive box between two corner cells; w and h are right - left and bottom - top.
struct ShapeBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int w = 0;
    int h = 0;
};

// The box of a rectangle or ellipse. Constrained, the longer side is cut to the shorter one,
// keeping the start cell's end so the square grows from where the drag began.
inline ShapeBox SpanBox(int x0, int y0, int x1, int y1, bool constrain) {
    ShapeBox box{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1), 0, 0};
    box.w = box.right - box.left;
    box.h = box.bottom - box.top;
    if (constrain) {
        if (box.w < box.h) {
            box.h = box.w;
            if (y0 < y1)
                box.bottom = y0 + box.w;
            else
                box.top = box.bottom - box.w;
        } else {
            box.w = box.h;
            if (x0 < x1)
                box.right = x0 + box.h;
            else
                box.left = box.right - box.h;
        }
    }
    return box;
}

} // namespace krav
