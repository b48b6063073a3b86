#pragma once

#include "editing/Geometry.h"

#include <cstdint>
#include <vector>

namespace krav {

class RadarPicture;

// The radar's "Whole Map" picture: the 1024 x 1024 radar picture reduced to the largest square
// that fits the client area, centred in it. Each pixel covers a block of cells and takes the
// most important colour among them (kept cells, then flags, then objects, then the coloured tiles,
// then plain ones, then empty), so that a single flag or object still shows.
class RadarOverview {
public:
    // The client area's size in pixels; the picture must be built again afterwards.
    void Resize(int width, int height);
    // Reduces the whole picture.
    void Build(const RadarPicture& picture);
    // Cells changed in the picture: works out again only the pixels covering them and returns
    // those pixels on the client (empty when none).
    Rect Update(const RadarPicture& picture, const Rect& cells);

    // The square's side and its top-left corner on the client.
    int Side() const { return m_side; }
    Point Origin() const { return m_origin; }
    // Side() colour indices of the square's row y.
    const std::uint8_t* Row(int y) const {
        return m_pixels.data() + static_cast<std::size_t>(y) * m_side;
    }

    // The client pixels that show some of these cells (empty for none on the map).
    Rect CellsOnClient(const Rect& cells) const;
    // The map cell in the middle of the block the client pixel shows; points off the square
    // give the nearest block.
    Point CellAt(int x, int y) const;

private:
    // Pixels [first, end) along both axes, from the picture.
    void Reduce(const RadarPicture& picture, int firstX, int endX, int firstY, int endY);

    int m_side = 0;
    Point m_origin;
    // m_starts[i] is the first cell of pixel i along either axis; m_starts[side] = MAP_SIZE.
    std::vector<int> m_starts;
    // The pixel each cell falls in.
    std::vector<int> m_pixelOf;
    std::vector<std::uint8_t> m_pixels;
};

} // namespace krav
