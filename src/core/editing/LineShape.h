#pragma once

#include "editing/TileShape.h"

namespace krav {

// A straight line of one tile, stepped along its longer axis.
class LineShape final : public TileShape {
public:
    explicit LineShape(std::int16_t tile) : m_tile(tile) {}

    std::int16_t Tile() const { return m_tile; }

    // fromCenter is ignored: a line always starts at the start cell.
    int Rasterize(ShapePoint* out, int maxCount, int width, int height, int x0, int y0, int x1,
                  int y1, bool constrain, bool fromCenter) const override;

private:
    std::int16_t m_tile;
};

} // namespace krav
