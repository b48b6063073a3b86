#include "editing/LineShape.h"

#include <cstdlib>

namespace krav {

int LineShape::Rasterize(ShapePoint* out, int maxCount, int width, int height, int x0, int y0,
                         int x1, int y1, bool constrain, bool /*fromCenter*/) const {
    int dx = x1 - x0;
    int dy = y1 - y0;
    if (constrain) {
        // Snap to horizontal or vertical unless the drag is within a factor of two of 45 degrees.
        if (std::abs(dx) > 2 * std::abs(dy)) {
            y1 = y0;
            dy = 0;
        } else if (std::abs(dy) > 2 * std::abs(dx)) {
            x1 = x0;
            dx = 0;
        } else {
            const int m = std::min(std::abs(dx), std::abs(dy));
            dx = dx < 0 ? -m : m;
            dy = dy < 0 ? -m : m;
            x1 = x0 + dx;
            y1 = y0 + dy;
        }
    }

    int count = 0;
    const auto put = [&](int x, int y) {
        if (x >= 0 && x < width && y >= 0 && y < height && count < maxCount && m_tile != NO_CELL)
            out[count++] = {static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), m_tile};
    };

    if (dx == 0 && dy == 0) {
        put(x1, y1);
        return count;
    }
    // The minor coordinate runs in thousandths of a cell, starting in the middle of the start
    // cell; both divisions truncate toward zero.
    if (std::abs(dx) >= std::abs(dy)) {
        const int step = dy * 1000 / std::abs(dx);
        const int dir = dx < 0 ? -1 : 1;
        int acc = y0 * 1000 + 500;
        for (int x = x0;; x += dir) {
            put(x, acc / 1000);
            if (x == x1)
                break;
            acc += step;
        }
    } else {
        const int step = dx * 1000 / std::abs(dy);
        const int dir = dy < 0 ? -1 : 1;
        int acc = x0 * 1000 + 500;
        for (int y = y0;; y += dir) {
            put(acc / 1000, y);
            if (y == y1)
                break;
            acc += step;
        }
    }
    return count;
}

} // namespace krav
