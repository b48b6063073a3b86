#include "editing/RectShape.h"

namespace krav {

std::int32_t RectShape::ValueAt(int x, int y, int left, int top, int right, int bottom) const {
    // Left column before right and top row before bottom: a rectangle one cell wide or high
    // takes its left and top values.
    if (x == left)
        return m_values[y == top ? TopLeft : y == bottom ? BottomLeft : LeftEdge];
    if (x == right)
        return m_values[y == top ? TopRight : y == bottom ? BottomRight : RightEdge];
    return m_values[y == top ? TopEdge : y == bottom ? BottomEdge : Interior];
}

int RectShape::Rasterize(ShapePoint* out, int maxCount, int width, int height, int x0, int y0,
                         int x1, int y1, bool constrain, bool fromCenter) const {
    ShapeBox box = SpanBox(x0, y0, x1, y1, constrain);
    if (fromCenter) {
        // The end cell becomes a corner of a box centred on the start cell.
        box.left = x0 - box.w;
        box.right = x0 + box.w;
        box.top = y0 - box.h;
        box.bottom = y0 + box.h;
    }

    int count = 0;
    const int firstRow = std::max(box.top, 0);
    const int lastRow = std::min(box.bottom, height - 1);
    const int firstColumn = std::max(box.left, 0);
    const int lastColumn = std::min(box.right, width - 1);
    for (int y = firstRow; y <= lastRow && count < maxCount; ++y) {
        for (int x = firstColumn; x <= lastColumn && count < maxCount; ++x) {
            const std::int32_t value = ValueAt(x, y, box.left, box.top, box.right, box.bottom);
            if (value != NO_CELL)
                out[count++] = {static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                                static_cast<std::int16_t>(value)};
        }
    }
    return count;
}

} // namespace krav
