#pragma once

#include "document/TileCodes.h"
#include "editing/Geometry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace krav {

struct RadarColour {
    std::uint8_t red, green, blue;
    friend bool operator==(const RadarColour&, const RadarColour&) = default;
};

// Colour indices of the radar picture, by kind of cell.
inline constexpr std::uint8_t RADAR_BLACK = 0;   // empty cells
inline constexpr std::uint8_t RADAR_GREY = 1;    // plain tiles, 2 x 2 and 1 x 1 objects
inline constexpr std::uint8_t RADAR_BLUE = 2;    // tile codes 162..169
inline constexpr std::uint8_t RADAR_GREEN = 3;   // tile code 171
inline constexpr std::uint8_t RADAR_RED = 4;     // 6 x 6 object
inline constexpr std::uint8_t RADAR_YELLOW = 5;  // flag
inline constexpr std::uint8_t RADAR_WHITE = 6;   // unused
inline constexpr std::uint8_t RADAR_CYAN = 7;    // tile codes 176..190
inline constexpr std::uint8_t RADAR_MAGENTA = 8; // 5 x 5 object
inline constexpr std::uint8_t RADAR_PURPLE = 9;  // unused

// Colour index of a cell value; values that never occur in a map are black like empty cells.
std::uint8_t RadarColourIndex(Cell v);

// The overview of a map: one colour index per cell. Rows are stored top-down (row y starts
// at byte y * MAP_SIZE): only our own code draws the picture, so a bottom-up layout would
// buy nothing.
class RadarPicture {
public:
    static constexpr int COLOUR_COUNT = 10;
    static constexpr std::array<RadarColour, COLOUR_COUNT> COLOURS{{
        {0, 0, 0},       // black
        {192, 192, 192}, // grey
        {0, 0, 255},     // blue
        {0, 255, 0},     // green
        {255, 0, 0},     // red
        {255, 255, 0},   // yellow
        {255, 255, 255}, // white
        {0, 255, 255},   // cyan
        {255, 0, 255},   // magenta
        {128, 0, 128},   // purple
    }};

    // All black.
    RadarPicture();

    // Makes the whole picture from a map's MAP_CELLS cells, row-major.
    void Build(const Cell* cells);
    // Follows one changed cell; cells outside the map are ignored.
    void UpdateCell(const Cell* cells, int x, int y);
    // Follows a changed block (right and bottom excluded), clipped to the map.
    void UpdateCells(const Cell* cells, Rect block);
    // All black, as after the whole map was erased.
    void Clear();

    std::uint8_t IndexAt(int x, int y) const { return m_indices[Offset(x, y)]; }
    // MAP_SIZE colour indices of row y.
    const std::uint8_t* Row(int y) const { return m_indices.data() + Offset(0, y); }
    // All MAP_CELLS indices, row 0 first.
    const std::uint8_t* Data() const { return m_indices.data(); }

private:
    static constexpr std::size_t Offset(int x, int y) {
        return static_cast<std::size_t>(y) * MAP_SIZE + static_cast<std::size_t>(x);
    }

    std::vector<std::uint8_t> m_indices;
};

} // namespace krav
