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
inline constexpr std::uint8_t RADAR_WHITE = 6;   // kept cells (codes of no tile or object)
inline constexpr std::uint8_t RADAR_CYAN = 7;    // tile codes 176..190
inline constexpr std::uint8_t RADAR_MAGENTA = 8; // 5 x 5 object
inline constexpr std::uint8_t RADAR_PURPLE = 9;  // unused

// What a cell shows when it is one pixel, in a byte: its tile (0 .. TILE_COUNT - 1) or one of
// these. The radar's colour and the detailed tiles' pixel both follow from it, so one plane of
// a byte per cell serves both, at a quarter of the cells' memory traffic.
inline constexpr std::uint8_t KIND_OBJECT_1X1 = TILE_COUNT;
inline constexpr std::uint8_t KIND_EMPTY = TILE_COUNT + 1; // also values no cell holds
inline constexpr std::uint8_t KIND_KEPT = TILE_COUNT + 2;  // every kept cell, whatever its code
// The cells of the objects larger than one cell, the last kinds.
inline constexpr std::uint8_t KIND_OBJECT_2X2 = TILE_COUNT + 3;
inline constexpr std::uint8_t KIND_OBJECT_5X5 = TILE_COUNT + 4;
inline constexpr std::uint8_t KIND_OBJECT_6X6 = TILE_COUNT + 5;
inline constexpr int KIND_COUNT = TILE_COUNT + 6;
inline constexpr std::uint8_t FIRST_LARGE_OBJECT_KIND = KIND_OBJECT_2X2;

std::uint8_t CellKind(Cell v);
// Colour index of a kind; kinds past KIND_COUNT are black.
std::uint8_t RadarColourOfKind(std::uint8_t kind);
// Colour index of a cell value; values that never occur in a map are black like empty cells.
std::uint8_t RadarColourIndex(Cell v);

// The overview of a map: one kind per cell, shown in its radar colour. Rows are stored
// top-down (row y starts at byte y * MAP_SIZE): only our own code draws the picture, so a
// bottom-up layout would buy nothing.
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

    // The radar colour index of a cell.
    std::uint8_t IndexAt(int x, int y) const { return RadarColourOfKind(KindAt(x, y)); }
    std::uint8_t KindAt(int x, int y) const { return m_kinds[Offset(x, y)]; }
    // MAP_SIZE kinds of row y.
    const std::uint8_t* KindRow(int y) const { return m_kinds.data() + Offset(0, y); }
    // All MAP_CELLS kinds, row 0 first.
    const std::uint8_t* Kinds() const { return m_kinds.data(); }

private:
    static constexpr std::size_t Offset(int x, int y) {
        return static_cast<std::size_t>(y) * MAP_SIZE + static_cast<std::size_t>(x);
    }

    std::vector<std::uint8_t> m_kinds;
};

} // namespace krav
