#pragma once

#include "editing/TileShape.h"

#include <array>

namespace krav {

// A rectangle whose edges, corners and interior each get their own value; NO_CELL leaves a
// part out, so one class draws both outlines and filled rectangles.
class RectShape final : public TileShape {
public:
    // Indices into the nine values, in the order they are given.
    enum Part {
        TopEdge,
        BottomEdge,
        LeftEdge,
        RightEdge,
        TopLeft,
        BottomLeft,
        TopRight,
        BottomRight,
        Interior,
    };
    using Values = std::array<std::int32_t, 9>;

    explicit RectShape(const Values& values) : m_values(values) {}
    // The eight border values all border, the interior interior.
    RectShape(std::int32_t border, std::int32_t interior)
        : m_values{border, border, border, border, border, border, border, border, interior} {}

    static RectShape Outline(std::int16_t tile) { return RectShape(tile, NO_CELL); }
    static RectShape Filled(std::int16_t tile) { return RectShape(tile, tile); }

    const Values& GetValues() const { return m_values; }

    int Rasterize(ShapePoint* out, int maxCount, int width, int height, int x0, int y0, int x1,
                  int y1, bool constrain, bool fromCenter) const override;

private:
    std::int32_t ValueAt(int x, int y, int left, int top, int right, int bottom) const;

    Values m_values;
};

} // namespace krav
