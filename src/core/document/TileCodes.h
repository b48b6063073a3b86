#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace krav {

// One map cell: EMPTY_CELL, a tile index 0..189, a cell of a special object (base value of
// the object plus the cell's row-major offset in its footprint), or a kept cell (below).
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

inline constexpr bool IsTileCell(Cell v) {
    return v < static_cast<Cell>(TILE_COUNT);
}

// The four special objects. An object's cells hold its base value plus the cell's row-major
// offset in its square footprint; a level file stores only the anchor (top-left) cell, under
// the object's file code; its picture is the one with the object's picture index.
struct SpecialObject {
    Cell base;
    int side;
    int fileCode;
    int picture;

    constexpr int CellCount() const { return side * side; }
    constexpr bool Holds(Cell v) const {
        return v >= base && v < base + static_cast<Cell>(CellCount());
    }
};

inline constexpr std::array<SpecialObject, 4> SPECIAL_OBJECTS{{
    {OBJECT_6X6, 6, CODE_OBJECT_6X6, 0},
    {OBJECT_5X5, 5, CODE_OBJECT_5X5, 1},
    {OBJECT_2X2, 2, CODE_OBJECT_2X2, 2},
    {OBJECT_1X1, 1, CODE_OBJECT_1X1, 3},
}};

// The object whose base value is given, if any. (Values, not pointers into the table: a
// sanitized build cannot compare such pointers in a constant expression.)
inline constexpr std::optional<SpecialObject> SpecialObjectOf(Cell base) {
    for (const SpecialObject& object : SPECIAL_OBJECTS)
        if (object.base == base)
            return object;
    return std::nullopt;
}

// The object a cell is part of; nothing for tiles, empty cells and values no object has.
inline constexpr std::optional<SpecialObject> SpecialObjectHolding(Cell v) {
    for (const SpecialObject& object : SPECIAL_OBJECTS)
        if (object.Holds(v))
            return object;
    return std::nullopt;
}

// Where a cell lies in its object's footprint.
struct ObjectCellPlace {
    SpecialObject object;
    int column;
    int row;
};

inline constexpr std::optional<ObjectCellPlace> LocateInObject(Cell v) {
    const std::optional<SpecialObject> object = SpecialObjectHolding(v);
    if (!object)
        return std::nullopt;
    const int offset = static_cast<int>(v - object->base);
    return ObjectCellPlace{*object, offset % object->side, offset / object->side};
}

// Side of the square footprint of the object whose base value is given; 0 for anything else.
inline constexpr int ObjectSide(Cell base) {
    const std::optional<SpecialObject> object = SpecialObjectOf(base);
    return object ? object->side : 0;
}

// Base value of the object a cell belongs to, if the cell is part of one.
inline constexpr std::optional<Cell> ObjectBaseOf(Cell v) {
    const std::optional<SpecialObject> object = SpecialObjectHolding(v);
    return object ? std::optional<Cell>(object->base) : std::nullopt;
}

// Base value of the object a level-file code stands for, if it is an object code.
inline constexpr std::optional<Cell> ObjectBaseForCode(int code) {
    if (code == CODE_OBJECT_1X1_ALT)
        return OBJECT_1X1;
    for (const SpecialObject& object : SPECIAL_OBJECTS)
        if (object.fileCode == code)
            return object.base;
    return std::nullopt;
}

// A kept cell holds a level-file record whose code is no tile and no object, read only when
// the user asked to keep such records: KEPT_CELL_BASE plus the code. The values lie above
// every object's and far below EMPTY_CELL, and fit the 16 bits the undo history stores a
// value in, so kept cells move, copy, undo and save like tiles and come back with their code.
inline constexpr Cell KEPT_CELL_BASE = 0x400;
inline constexpr int CODE_COUNT = 256; // codes are 8 bits

// Whether a level-file code stands for neither a tile nor an object.
inline constexpr bool IsUnknownCode(int code) {
    return !(code >= 1 && code <= TILE_COUNT) && !ObjectBaseForCode(code).has_value();
}

inline constexpr bool IsKeptCell(Cell v) {
    return v - KEPT_CELL_BASE < static_cast<Cell>(CODE_COUNT);
}

// The cell that keeps a record of code (0..255).
inline constexpr Cell KeptCell(int code) {
    return KEPT_CELL_BASE + static_cast<Cell>(code);
}

// The code a kept cell was read with.
inline constexpr int KeptCode(Cell v) {
    return static_cast<int>(v - KEPT_CELL_BASE);
}

static_assert(KeptCell(0) > OBJECT_1X1 && KeptCell(CODE_COUNT - 1) < 0x7FFF);

// The code a cell is written with, or nothing for empty and non-anchor object cells.
inline constexpr std::optional<int> CodeForCell(Cell v) {
    if (IsTileCell(v))
        return static_cast<int>(v) + 1;
    if (IsKeptCell(v))
        return KeptCode(v);
    const std::optional<SpecialObject> object = SpecialObjectOf(v);
    return object ? std::optional<int>(object->fileCode) : std::nullopt;
}

} // namespace krav
