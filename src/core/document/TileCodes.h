#pragma once

#include <cstdint>
#include <optional>

namespace krav {

// One map cell: EMPTY_CELL, a tile index 0..189, or a cell of a special object
// (base value of the object plus the cell's row-major offset in its footprint).
using Cell = std::uint32_t;

inline constexpr int MAP_SIZE = 1024;
inline constexpr int MAP_CELLS = MAP_SIZE * MAP_SIZE;

inline constexpr Cell EMPTY_CELL = 0xFFFFFFFFu;
inline constexpr int TILE_COUNT = 190;

// Tile code 170 is a flag; a map holds at most MAX_FLAGS of them.
inline constexpr int FLAG_TILE = 170;
inline constexpr Cell FLAG_CELL = FLAG_TILE - 1;
inline constexpr int MAX_FLAGS = 256;

// Base values (anchor cells) of the special objects; they are also the ids of their pictures.
inline constexpr Cell OBJECT_6X6 = 500;
inline constexpr Cell OBJECT_5X5 = 600;
inline constexpr Cell OBJECT_2X2 = 700;
inline constexpr Cell OBJECT_1X1 = 800;

// Tile codes of the special objects in level files.
inline constexpr int CODE_OBJECT_1X1 = 216;
inline constexpr int CODE_OBJECT_2X2 = 217;
inline constexpr int CODE_OBJECT_1X1_ALT = 218; // read as the 1 x 1 object, never written
inline constexpr int CODE_OBJECT_6X6 = 219;
inline constexpr int CODE_OBJECT_5X5 = 220;

inline constexpr bool IsTileCell(Cell v) { return v < static_cast<Cell>(TILE_COUNT); }

// Side of the square footprint of the object whose base value is given; 0 for anything else.
inline constexpr int ObjectSide(Cell base) {
    switch (base) {
    case OBJECT_6X6: return 6;
    case OBJECT_5X5: return 5;
    case OBJECT_2X2: return 2;
    case OBJECT_1X1: return 1;
    default: return 0;
    }
}

// Base value of the object a cell belongs to, if the cell is part of one.
inline constexpr std::optional<Cell> ObjectBaseOf(Cell v) {
    if (v >= OBJECT_6X6 && v < OBJECT_6X6 + 36) return OBJECT_6X6;
    if (v >= OBJECT_5X5 && v < OBJECT_5X5 + 25) return OBJECT_5X5;
    if (v >= OBJECT_2X2 && v < OBJECT_2X2 + 4) return OBJECT_2X2;
    if (v == OBJECT_1X1) return OBJECT_1X1;
    return std::nullopt;
}

// Base value of the object a level-file code stands for, if it is an object code.
inline constexpr std::optional<Cell> ObjectBaseForCode(int code) {
    switch (code) {
    case CODE_OBJECT_1X1:
    case CODE_OBJECT_1X1_ALT: return OBJECT_1X1;
    case CODE_OBJECT_2X2: return OBJECT_2X2;
    case CODE_OBJECT_6X6: return OBJECT_6X6;
    case CODE_OBJECT_5X5: return OBJECT_5X5;
    default: return std::nullopt;
    }
}

// The code a cell is written with, or nothing for empty and non-anchor object cells.
inline constexpr std::optional<int> CodeForCell(Cell v) {
    if (IsTileCell(v)) return static_cast<int>(v) + 1;
    switch (v) {
    case OBJECT_6X6: return CODE_OBJECT_6X6;
    case OBJECT_5X5: return CODE_OBJECT_5X5;
    case OBJECT_2X2: return CODE_OBJECT_2X2;
    case OBJECT_1X1: return CODE_OBJECT_1X1;
    default: return std::nullopt;
    }
}

} // namespace krav
