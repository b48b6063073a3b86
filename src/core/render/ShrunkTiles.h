#pragma once

#include "document/TileCodes.h"
#include "document/TileSetBitmap.h"
#include "render/ObjectPictureSet.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace krav {

// The tiles, kept cells and the 1 x 1 object at the low zooms (cells of 4, 2 or 1 pixels) with
// detailed tiles: their pictures shrunk by averaging once per tile set and cell size, drawn from
// the radar picture's kinds of cell (a byte per cell) with one table lookup per cell.
class ShrunkTiles {
public:
    // Makes the pictures unless they were made for the same tile set, objects and cell size.
    void Prepare(const TileSetBitmap& tileSet, const ObjectPictureSet* objects, int cellSize);
    // The tile set's pictures changed: made again at the next Prepare.
    void Forget();

    // Pixel lines firstLine..endLine - 1 of a row of cells (0 is the cells' top line), pixels
    // left..right counted from the left edge of the cell of kinds[0]; line firstLine + k goes
    // to out + k * stride. Empty cells and the cells of objects larger than one cell are black.
    // Streamed: at a pixel per cell the pixels may go straight to memory (see StreamStores.h),
    // for lines nothing is drawn over afterwards.
    void DrawLines(const std::uint8_t* kinds, int firstLine, int endLine, int left, int right,
                   std::uint32_t* out, std::ptrdiff_t stride, bool streamed = false) const;

private:
    template <int N>
    void DrawWholeCells(const std::uint8_t* kinds, int left, int right, std::uint32_t* out,
                        std::ptrdiff_t stride) const;
    template <bool Streamed>
    void DrawPixelCells(const std::uint8_t* kinds, int left, int right, std::uint32_t* line) const;
    void DrawLine(const std::uint8_t* kinds, int y, int left, int right, std::uint32_t* line) const;
    const std::uint32_t* Picture(std::uint8_t kind) const {
        return m_pictures.data() + m_pixels * kind;
    }

    // A picture for every kind of cell, one after another: black but for the tiles, kept cells
    // and the 1 x 1 object.
    std::vector<std::uint32_t> m_pictures;
    std::size_t m_pixels = 0; // of a picture
    // At a pixel per cell, the pixel of each kind, and of each two kinds side by side (512 KB).
    std::array<std::uint32_t, 256> m_pixelOf{};
    std::vector<std::uint64_t> m_pairOf;
    const TileSetBitmap* m_tilesFrom = nullptr;
    const ObjectPictureSet* m_objectsFrom = nullptr;
    int m_cellSize = 0;
};

} // namespace krav
