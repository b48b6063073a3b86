#pragma once

#include "editing/TileShape.h"

namespace krav {

// An ellipse inscribed in the dragged box: border cells get one value and interior cells
// another; NO_CELL leaves them out, so one class draws both outlines and filled ellipses.
class EllipseShape final : public TileShape {
public:
    EllipseShape(std::int32_t border, std::int32_t fill) : m_border(border), m_fill(fill) {}

    std::int32_t Border() const { return m_border; }
    std::int32_t Fill() const { return m_fill; }

    int Rasterize(ShapePoint* out, int maxCount, int width, int height, int x0, int y0, int x1,
                  int y1, bool constrain, bool fromCenter) const override;

private:
    std::int32_t m_border;
    std::int32_t m_fill;
};

} // namespace krav
