#pragma once

#include "document/TileCodes.h"
#include "document/TileSetBitmap.h"
#include "render/ObjectPictureSet.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace krav {

// The tiles and the 1 x 1 object at the low zooms (cells of 4, 2 or 1 pixels) with detailed
// tiles: their pictures shrunk by averaging once per tile set and cell size, drawn a line of
// pixels at a time with one table lookup per cell, as the radar colours are.
class ShrunkTiles {
public:
    // Makes the pictures unless they were made for the same tile set, objects and cell size.
    void Prepare(const TileSetBitmap& tileSet, const ObjectPictureSet* objects, int cellSize);
    // The tile set's pictures changed: made again at the next Prepare.
    void Forget();

    // One line of pixels across a row of cells: pixel row `y` (0 .. cell size - 1) of the
    // cells, pixels left..right counted from the left edge of cell values[0]. Empty cells and
    // the cells of objects larger than one cell are black.
    void DrawLine(const Cell* values, int y, int left, int right, std::uint32_t* line) const;

private:
    template <int N>
    void DrawWholeCells(const Cell* values, int y, int left, int right, std::uint32_t* line) const;
    // Which picture a cell shows: a tile, the 1 x 1 object, or black.
    static std::size_t PictureIndex(Cell v);

    // Pictures one after another: the tiles, then the 1 x 1 object, then black.
    std::vector<std::uint32_t> m_pictures;
    // At a pixel per cell, the pixel of each cell value below 1024 (values above are black).
    std::array<std::uint32_t, 1024> m_pixelOf{};
    const TileSetBitmap* m_tilesFrom = nullptr;
    const ObjectPictureSet* m_objectsFrom = nullptr;
    int m_cellSize = 0;
};

} // namespace krav
