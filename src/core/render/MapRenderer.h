#pragma once

#include "document/TileCodes.h"
#include "document/TileSetBitmap.h"
#include "editing/Geometry.h"
#include "editing/RadarPicture.h"
#include "editing/ViewGeometry.h"
#include "render/ObjectPictureSet.h"
#include "render/ShrunkTiles.h"

#include <array>
#include <cstdint>
#include <vector>

namespace krav {

// What a map view is drawn from.
struct RenderSource {
    const Cell* cells = nullptr;            // the 1024 x 1024 map
    const TileSetBitmap* tileSet = nullptr; // the level's tile set
    const RadarPicture* radar = nullptr;    // drawn from at zoom 1:4 and below
    const ObjectPictureSet* objects = nullptr;
    // At 1:4 and below, draw the tiles' and objects' own pictures shrunk by averaging instead
    // of the radar picture's colours.
    bool detailedTiles = false;
};

// Draws what a map view shows in a rectangle of its client area, into 0xFFRRGGBB pixels: the
// tiles (pre-scaled once per zoom), then the special objects whole from their anchors, the
// grid on each cell's last pixel row and column, the white edge past the map's last cell;
// the low zooms are one scaled copy of the radar picture (or, with detailed tiles, the pictures
// box filtered to the cell size, without grid or edge); black elsewhere. The editor's view
// and krav-lvl render both draw with it, so they show the same pixels.
class MapRenderer {
public:
    // out receives clip.Width() x clip.Height() pixels, rows stride pixels apart; out[0] is
    // the pixel at (clip.left, clip.top).
    void Render(const RenderSource& source, const ViewGeometry& view, const Rect& clip,
                std::uint32_t* out, int stride);

    // Draws a block of cells (row-major, columns x rows) with its top-left cell at client
    // (x, y) over pixels covering the clip, as a floating block is shown: tiles and objects,
    // no grid. Cells outside the clip are cut.
    void RenderBlock(const RenderSource& source, const ViewGeometry& view, const Cell* block,
                     int columns, int rows, Point at, const Rect& clip, std::uint32_t* out,
                     int stride);

    // The tile set's pictures changed (a new tile set for the level): the scaled tiles and
    // object pictures are made again at the next paint.
    void ForgetTiles();

private:
    // A special object met during one paint: its anchor in cells (of the view or the block,
    // so it may be negative) and its picture index.
    struct QueuedObject {
        int col;
        int row;
        int picture;
    };
    // Which anchors are queued, over the cells visited plus the farthest an anchor can lie
    // from a cell of its object (so queueing costs no search).
    struct AnchorMarks {
        int firstCol = 0;
        int firstRow = 0;
        int columns = 0;
        // An anchor is queued in this paint when its mark is this paint's number.
        std::vector<std::uint16_t> marks;
        std::uint16_t paint = 0;
    };

    void PrepareTiles(const TileSetBitmap& tileSet, int cellSize);
    void PrepareObjects(const ObjectPictureSet& objects, int cellSize);
    void StartQueue(int firstCol, int firstRow, int endCol, int endRow);
    void QueueObject(int col, int row, Cell v);
    void QueueAnchor(const QueuedObject& object);
    // The low zooms with detailed tiles: the cells from their shrunk pictures, then the larger
    // objects whole.
    void RenderShrunk(const RenderSource& source, const ViewGeometry& view, const Rect& clip,
                      const Rect& cells, std::uint32_t* out, int stride);
    void RenderCells(const RenderSource& source, const ViewGeometry& view, const Rect& clip,
                     std::uint32_t* out, int stride);
    // Whether the row has any cell of a larger object.
    bool QueueRowObjects(const Cell* values, const std::uint8_t* kinds, int r, const Rect& cells);
    const std::uint8_t* RowKinds(const RenderSource& source, int row, int leftCol,
                                 const Cell* values, int count);

    // Tile pictures scaled to the cell size, 0xFFRRGGBB, one after another.
    std::vector<std::uint32_t> m_tiles;
    const TileSetBitmap* m_tilesFrom = nullptr;
    int m_tilesCellSize = 0;

    // The object pictures scaled, 0xFFRRGGBB: 0..2 to their side x 16 x zoom pixels, 3 (the
    // 1 x 1 object, drawn per cell) to the cell.
    std::array<std::vector<std::uint32_t>, 4> m_objectPictures;
    std::array<int, 4> m_objectSizes{};
    const ObjectPictureSet* m_objectsFrom = nullptr;
    int m_objectsCellSize = 0;

    ShrunkTiles m_shrunk;
    std::vector<std::uint8_t> m_rowKinds; // a row's kinds of cell when there is no radar

    std::vector<QueuedObject> m_queue;
    AnchorMarks m_queued;
};

} // namespace krav
