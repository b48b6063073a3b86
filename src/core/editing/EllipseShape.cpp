#include "editing/EllipseShape.h"

namespace krav {
namespace {

// A cell on the ellipse scales to distance 1000 from the centre; 64-bit so that cells far from
// a small ellipse cannot overflow.
constexpr std::int64_t UNIT = 1000;
constexpr std::int64_t UNIT_SQUARED = UNIT * UNIT;

// A cell offset from the centre in thousandths of the radius; the radius is in 63ths of a
// cell, so the offset is scaled by 63 * 1000. Truncates toward zero.
std::int64_t Scaled(std::int64_t offset, std::int64_t radius) {
    return offset * 63 * UNIT / radius;
}

} // namespace

int EllipseShape::Rasterize(ShapePoint* out, int maxCount, int width, int height, int x0, int y0,
                            int x1, int y1, bool constrain, bool fromCenter) const {
    ShapeBox box = SpanBox(x0, y0, x1, y1, constrain);
    if (fromCenter) {
        box.w *= 2;
        box.h *= 2;
        box.left = x0 - box.w / 2;
        box.top = y0 - box.h / 2;
        box.right = box.left + box.w;
        box.bottom = box.top + box.h;
    }
    // An odd extent gives the ellipse a centre cell.
    if (box.w % 2 == 0) {
        ++box.w;
        ++box.right;
    }
    if (box.h % 2 == 0) {
        ++box.h;
        ++box.bottom;
    }
    const int rx = box.w / 2;
    const int ry = box.h / 2;
    if (rx == 0 || ry == 0)
        return 0;
    const int cx = box.left + rx;
    const int cy = box.top + ry;
    // The radius plus a third of a cell, in 63ths, so the cells at the ends of the axes are inside.
    const std::int64_t ax = std::int64_t{rx} * 63 + 21;
    const std::int64_t ay = std::int64_t{ry} * 63 + 21;

    int count = 0;
    const int firstRow = std::max(box.top, 0);
    const int lastRow = std::min(box.bottom, height - 1);
    const int firstColumn = std::max(box.left, 0);
    const int lastColumn = std::min(box.right, width - 1);
    for (int y = firstRow; y <= lastRow && count < maxCount; ++y) {
        const std::int64_t ny = Scaled(y - cy, ay);
        // One cell further from the centre vertically.
        const std::int64_t nyOut = Scaled(y < cy ? y - cy - 1 : y - cy + 1, ay);
        for (int x = firstColumn; x <= lastColumn && count < maxCount; ++x) {
            const std::int64_t nx = Scaled(x - cx, ax);
            if (nx * nx + ny * ny >= UNIT_SQUARED)
                continue;
            const std::int64_t nxOut = Scaled(x < cx ? x - cx - 1 : x - cx + 1, ax);
            // Interior only if the neighbours further out on both axes are still inside.
            const bool interior =
                nxOut * nxOut + ny * ny < UNIT_SQUARED && nx * nx + nyOut * nyOut < UNIT_SQUARED;
            const std::int32_t value = interior ? m_fill : m_border;
            if (value != NO_CELL)
                out[count++] = {static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                                static_cast<std::int16_t>(value)};
        }
    }
    return count;
}

} // namespace krav
