#include "render/MapRenderer.h"

#include "render/BoxFilter.h"
#include "render/GridLines.h"
#include "render/KeptCellPicture.h"
#include "render/RadarCells.h"
#include "render/StreamStores.h"
#include "render/WideStores.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace krav {

namespace {

constexpr std::uint32_t BLACK = 0xFF000000u;
constexpr std::uint32_t GRID_GREY = 0xFF5F5F5Fu;
constexpr std::uint32_t EDGE_WHITE = 0xFFFFFFFFu;
// The placeholder drawn for a floating block's cells at the low zooms.
constexpr std::uint32_t PLACEHOLDER_GREY = 0xFFC0C0C0u;

// How far an anchor can lie from a cell of its object: one less than the largest side.
constexpr int LargestObjectSide() {
    int side = 0;
    for (const SpecialObject& object : SPECIAL_OBJECTS)
        side = std::max(side, object.side);
    return side;
}
constexpr int ANCHOR_REACH_COLS = LargestObjectSide() - 1;
constexpr int ANCHOR_REACH_ROWS = LargestObjectSide() - 1;

// The caller's pixels: the clip rectangle of the client area, rows stride pixels apart.
struct Canvas {
    std::uint32_t* out;
    int stride;
    Rect clip;
    // Long fills go straight to memory (see StreamStores.h): for a whole view's picture.
    bool streamed = false;
    // Cell pictures are copied with the wide stores (see WideStores.h).
    bool wide = WideStoresAvailable();

    std::uint32_t* At(int x, int y) const {
        return out + static_cast<std::ptrdiff_t>(y - clip.top) * stride + (x - clip.left);
    }

    void Fill(const Rect& r, std::uint32_t colour) const {
        const Rect cut = r.Intersected(clip);
        if (cut.IsEmpty())
            return;
        const auto count = static_cast<std::size_t>(cut.Width());
        for (int y = cut.top; y < cut.bottom; ++y) {
            if (streamed)
                StreamFill(At(cut.left, y), count, colour);
            else
                std::fill_n(At(cut.left, y), count, colour);
        }
    }

    // A width x height picture with its top-left at (x, y), cut to the clip.
    void Copy(const std::uint32_t* picture, int width, int height, int x, int y) const {
        const Rect cut = Rect{x, y, x + width, y + height}.Intersected(clip);
        if (cut.IsEmpty())
            return;
        const std::uint32_t* from =
            picture + static_cast<std::ptrdiff_t>(cut.top - y) * width + (cut.left - x);
        for (int row = cut.top; row < cut.bottom; ++row, from += width)
            std::copy_n(from, cut.Width(), At(cut.left, row));
    }
};

// Nearest-neighbour scaling as a stretched copy without smoothing does it: destination pixel
// d takes source pixel d x source size / destination size.
template <typename Source>
std::vector<std::uint32_t> Scale(int sourceSize, int size, Source source) {
    std::vector<std::uint32_t> scaled(static_cast<std::size_t>(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            scaled[static_cast<std::size_t>(y) * size + x] =
                source(x * sourceSize / size, y * sourceSize / size);
    return scaled;
}

// Pictures for the cells of the low zooms are shrunk by averaging, so that they keep their
// colours; for the larger cells they are scaled as a stretched copy without smoothing does.
template <typename Source>
std::vector<std::uint32_t> Resize(int cellSize, int sourceSize, int size, Source source) {
    if (cellSize <= TILE_SIZE * LOW_ZOOM_LIMIT)
        return BoxFilter(sourceSize, size, source);
    return Scale(sourceSize, size, source);
}

// Objects larger than one cell are queued by their anchor and drawn whole; a value no object
// holds is not an object cell and is never queued.
bool IsQueuedObjectValue(Cell v) {
    const std::optional<SpecialObject> object = SpecialObjectHolding(v);
    return object && object->side > 1;
}

// Which of the prepared pictures a tile or kept cell shows.
std::size_t TilePicture(Cell v) {
    return IsKeptCell(v) ? TILE_COUNT : v;
}

// The grid lines are the last pixel column and row of each cell, shown only where a cell is
// left black (the view draws the grid first and the cells over it); those are drawn with the
// cells (FillEmptyCell). The map's edge lies past its last cell, at every zoom and with the
// grid or without: it is what tells the map from the black beyond it.
void DrawMapEdge(const Canvas& canvas, const ViewGeometry& view) {
    const MapEdges edges = ComputeMapEdges(view, canvas.clip);
    canvas.Fill(edges.right, EDGE_WHITE);
    canvas.Fill(edges.bottom, EDGE_WHITE);
}

// A cell nothing covers is black; with the grid, its last pixel column and row are grid
// lines, except in the map's last column and row, whose lines the map's edge replaces.
void FillEmptyCell(const Canvas& canvas, int x, int y, int cell, bool columnLine, bool rowLine) {
    const int lineX = columnLine ? x + cell - 1 : x + cell;
    const int lineY = rowLine ? y + cell - 1 : y + cell;
    canvas.Fill({x, y, lineX, lineY}, BLACK);
    if (columnLine)
        canvas.Fill({lineX, y, x + cell, lineY}, GRID_GREY);
    if (rowLine)
        canvas.Fill({x, lineY, x + cell, y + cell}, GRID_GREY);
}

// One whole cell's picture, the copies of a constant size so that they inline.
template <int N>
void CopyWholeCell(const Canvas& canvas, const std::uint32_t* picture, int x, int y) {
    std::uint32_t* to = canvas.At(x, y);
    for (int row = 0; row < N; ++row, to += canvas.stride, picture += N)
        std::memcpy(to, picture, N * sizeof(std::uint32_t));
}

void CopyCell(const Canvas& canvas, const std::uint32_t* picture, int cell, int x, int y) {
    const Rect& clip = canvas.clip;
    if (x < clip.left || y < clip.top || x + cell > clip.right || y + cell > clip.bottom)
        return canvas.Copy(picture, cell, cell, x, y);
    switch (cell) {
    case 1:
        *canvas.At(x, y) = *picture;
        return;
    case 2:
        return CopyWholeCell<2>(canvas, picture, x, y);
    case 4:
        return CopyWholeCell<4>(canvas, picture, x, y);
    case 8:
    case 16:
    case 32:
        if (canvas.wide)
            return CopyCellWide(canvas.At(x, y), canvas.stride, picture, cell);
        if (cell == 8)
            return CopyWholeCell<8>(canvas, picture, x, y);
        if (cell == 16)
            return CopyWholeCell<16>(canvas, picture, x, y);
        return CopyWholeCell<32>(canvas, picture, x, y);
    default:
        return canvas.Copy(picture, cell, cell, x, y);
    }
}

// Pixels of the clip around the cells drawn (past the map's last column and row) are black.
void FillAroundCells(const Canvas& canvas, const Rect& cells) {
    const Rect& clip = canvas.clip;
    canvas.Fill({clip.left, clip.top, clip.right, cells.top}, BLACK);
    canvas.Fill({clip.left, cells.bottom, clip.right, clip.bottom}, BLACK);
    canvas.Fill({clip.left, cells.top, cells.left, cells.bottom}, BLACK);
    canvas.Fill({cells.right, cells.top, clip.right, cells.bottom}, BLACK);
}

} // namespace

void MapRenderer::ForgetTiles() {
    m_shrunk.Forget();
    m_tiles.clear();
    m_tilesFrom = nullptr;
    m_tilesCellSize = 0;
    m_objectsFrom = nullptr;
    m_objectsCellSize = 0;
}

void MapRenderer::PrepareTiles(const TileSetBitmap& tileSet, int cellSize) {
    if (m_tilesFrom == &tileSet && m_tilesCellSize == cellSize)
        return;
    const std::size_t tilePixels = static_cast<std::size_t>(cellSize) * cellSize;
    m_tiles.resize(tilePixels * (TILE_COUNT + 1)); // the kept cells' picture last
    std::array<std::uint32_t, 256> colours;
    for (int i = 0; i < 256; ++i)
        colours[i] = BLACK | tileSet.ColourRgb(i);
    for (int t = 0; t < TILE_COUNT; ++t) {
        const TileRect rect = TileRectOf(t);
        const auto scaled = Resize(cellSize, TILE_SIZE, cellSize, [&](int x, int y) {
            return colours[tileSet.PixelAt(rect.x + x, rect.y + y)];
        });
        std::copy(scaled.begin(), scaled.end(), m_tiles.begin() + tilePixels * t);
    }
    const auto kept = Resize(cellSize, KEPT_PICTURE_SIZE, cellSize, KeptCellPixel);
    std::copy(kept.begin(), kept.end(), m_tiles.begin() + tilePixels * TILE_COUNT);
    m_tilesFrom = &tileSet;
    m_tilesCellSize = cellSize;
}

void MapRenderer::PrepareObjects(const ObjectPictureSet& objects, int cellSize) {
    if (m_objectsFrom == &objects && m_objectsCellSize == cellSize)
        return;
    for (int i = 0; i < 4; ++i) {
        const ObjectPictureSet::Picture& picture = objects.pictures[i];
        // Whole pictures at the zoom (cell size / 16), the 1 x 1 object onto its cell.
        const int size = picture.size <= 0 ? 0 : (i == 3 ? cellSize : picture.size * cellSize / 16);
        m_objectSizes[i] = size;
        m_objectPictures[i] = Resize(cellSize, std::max(picture.size, 1), size, [&](int x, int y) {
            return objects.colours[picture.pixels[static_cast<std::size_t>(y) * picture.size + x]];
        });
    }
    m_objectsFrom = &objects;
    m_objectsCellSize = cellSize;
}

void MapRenderer::StartQueue(int firstCol, int firstRow, int endCol, int endRow) {
    m_queue.clear();
    m_queued.firstCol = firstCol - ANCHOR_REACH_COLS;
    m_queued.firstRow = firstRow - ANCHOR_REACH_ROWS;
    m_queued.columns = std::max(endCol - m_queued.firstCol, 0);
    const int rows = std::max(endRow - m_queued.firstRow, 0);
    const std::size_t size = static_cast<std::size_t>(m_queued.columns) * rows;
    // A new paint's marks are a new number: the marks of earlier paints need no clearing
    // (a megabyte at the lowest zoom), but when the numbers start again.
    if (++m_queued.paint == 0) {
        std::fill(m_queued.marks.begin(), m_queued.marks.end(), 0);
        m_queued.paint = 1;
    }
    if (m_queued.marks.size() < size)
        m_queued.marks.resize(size, 0);
}

// Objects are drawn once each, whole, after the cells: a cell only notes its anchor.
void MapRenderer::QueueObject(int col, int row, Cell v) {
    const ObjectCellPlace place = *LocateInObject(v);
    QueueAnchor({col - place.column, row - place.row, place.object.picture});
}

void MapRenderer::QueueAnchor(const QueuedObject& object) {
    std::uint16_t& mark =
        m_queued.marks[static_cast<std::size_t>(object.row - m_queued.firstRow) * m_queued.columns +
                       (object.col - m_queued.firstCol)];
    if (mark == m_queued.paint)
        return;
    mark = m_queued.paint;
    m_queue.push_back(object);
}

void MapRenderer::Render(const RenderSource& source, const ViewGeometry& view, const Rect& clip,
                         std::uint32_t* out, int stride) {
    if (clip.IsEmpty())
        return;
    RenderCells(source, view, clip, out, stride);
    // Last, so that nothing drawn whole from an anchor hides it.
    DrawMapEdge(Canvas{out, stride, clip, true}, view);
    FinishStreaming();
}

void MapRenderer::RenderCells(const RenderSource& source, const ViewGeometry& view,
                              const Rect& clip, std::uint32_t* out, int stride) {
    const Canvas canvas{out, stride, clip, true};
    // Cells are square: both cell sizes are 16 x zoom.
    const int cell = view.CellWidth();
    const int firstCol = std::max(clip.left / cell, 0);
    const int endCol = std::min({clip.right / cell + 1, MAP_SIZE, MAP_SIZE - view.LeftCol()});
    const int firstRow = std::max(clip.top / cell, 0);
    const int endRow = std::min({clip.bottom / cell + 1, MAP_SIZE, MAP_SIZE - view.TopRow()});
    // The view erases to black and then draws the cells; every pixel is written once here
    // instead: the cells' own pixels by the cells, black only past them.
    FillAroundCells(canvas, {firstCol * cell, firstRow * cell, std::max(endCol, firstCol) * cell,
                             std::max(endRow, firstRow) * cell});
    if (view.IsLowZoom() && source.detailedTiles)
        return RenderShrunk(source, view, clip, {firstCol, firstRow, endCol, endRow}, out, stride);
    if (view.IsLowZoom())
        return DrawRadarCells(source.radar, view, {firstCol, firstRow, endCol, endRow}, clip, out,
                              stride);

    const bool drawTiles = source.cells && source.tileSet;
    if (drawTiles)
        PrepareTiles(*source.tileSet, cell);
    if (source.objects)
        PrepareObjects(*source.objects, cell);
    const bool drawSmallObjects = source.objects && m_objectSizes[3] == cell;
    // Tiles, kept cells and 1 x 1 objects cover their whole cell, grid line included. Kept
    // cells are rare: they are asked for only off the tiles' path.
    const auto coversCell = [&](Cell v) {
        return (drawTiles && IsTileCell(v)) || (drawSmallObjects && v == OBJECT_1X1);
    };
    const Cell keptPicture = static_cast<Cell>(TILE_COUNT);
    const bool grid = view.IsGridShown() && !view.IsLowZoom();
    // The client columns and rows of the map's last column and row.
    const int lastCol = MAP_SIZE - 1 - view.LeftCol();
    const int lastRow = MAP_SIZE - 1 - view.TopRow();
    StartQueue(firstCol, firstRow, endCol, endRow);
    const std::size_t tilePixels = static_cast<std::size_t>(cell) * cell;
    for (int r = firstRow; r < endRow; ++r) {
        const Cell* values =
            source.cells ? source.cells + static_cast<std::size_t>(view.TopRow() + r) * MAP_SIZE +
                               view.LeftCol()
                         : nullptr;
        for (int c = firstCol; c < endCol; ++c) {
            const Cell v = values ? values[c] : EMPTY_CELL;
            if (!coversCell(v)) {
                if (drawTiles && IsKeptCell(v)) {
                    CopyCell(canvas, &m_tiles[tilePixels * keptPicture], cell, c * cell, r * cell);
                    continue;
                }
                FillEmptyCell(canvas, c * cell, r * cell, cell, grid && c < lastCol,
                              grid && r < lastRow);
                if (IsQueuedObjectValue(v))
                    QueueObject(c, r, v);
            } else if (v == OBJECT_1X1) {
                CopyCell(canvas, m_objectPictures[3].data(), cell, c * cell, r * cell);
            } else {
                CopyCell(canvas, &m_tiles[tilePixels * v], cell, c * cell, r * cell);
            }
        }
    }
    if (!source.objects)
        return;
    // The other objects are drawn whole, after all cells.
    for (const QueuedObject& object : m_queue) {
        const int size = m_objectSizes[object.picture];
        canvas.Copy(m_objectPictures[object.picture].data(), size, size, object.col * cell,
                    object.row * cell);
    }
}

namespace {

// Where a cell lies in its special object, for the values from OBJECT_6X6 to OBJECT_1X1; side
// 0 for values of no object larger than one cell.
struct ObjectStep {
    std::int8_t column, row, side, picture;
};

constexpr std::array<ObjectStep, OBJECT_1X1 - OBJECT_6X6 + 1> MakeObjectSteps() {
    std::array<ObjectStep, OBJECT_1X1 - OBJECT_6X6 + 1> steps{};
    for (Cell v = OBJECT_6X6; v <= OBJECT_1X1; ++v) {
        const std::optional<ObjectCellPlace> place = LocateInObject(v);
        if (place && place->object.side > 1)
            steps[v - OBJECT_6X6] = {static_cast<std::int8_t>(place->column),
                                     static_cast<std::int8_t>(place->row),
                                     static_cast<std::int8_t>(place->object.side),
                                     static_cast<std::int8_t>(place->object.picture)};
    }
    return steps;
}

constexpr std::array<ObjectStep, OBJECT_1X1 - OBJECT_6X6 + 1> OBJECT_STEPS = MakeObjectSteps();

// Which of up to 16 kinds are a larger object's cells, as bits (bit i for kinds[i]): most rows
// of a map hold no object, and these bits find those that do sixteen cells at a time.
unsigned LargeObjectKinds(const std::uint8_t* kinds, int count) {
#if defined(__SSE2__)
    if (count == 16) {
        // Only the large objects' kinds stay above zero.
        const __m128i below = _mm_set1_epi8(static_cast<char>(FIRST_LARGE_OBJECT_KIND - 1));
        const __m128i above =
            _mm_subs_epu8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(kinds)), below);
        return ~static_cast<unsigned>(
                   _mm_movemask_epi8(_mm_cmpeq_epi8(above, _mm_setzero_si128()))) &
               0xFFFFu;
    }
#endif
    unsigned bits = 0;
    for (int i = 0; i < count; ++i)
        bits |= static_cast<unsigned>(kinds[i] >= FIRST_LARGE_OBJECT_KIND) << i;
    return bits;
}

} // namespace

void MapRenderer::RenderShrunk(const RenderSource& source, const ViewGeometry& view,
                               const Rect& clip, const Rect& cells, std::uint32_t* out,
                               int stride) {
    const Canvas canvas{out, stride, clip, true};
    const int cell = view.CellWidth();
    const bool drawTiles = source.cells && source.tileSet;
    if (drawTiles)
        m_shrunk.Prepare(*source.tileSet, source.objects, cell);
    if (source.objects)
        PrepareObjects(*source.objects, cell);
    const int left = std::max(cells.left * cell, clip.left);
    const int right = std::min(cells.right * cell, clip.right);
    if (left >= right)
        return;
    StartQueue(cells.left, cells.top, cells.right, cells.bottom);
    for (int r = cells.top; r < cells.bottom; ++r) {
        const int top = std::max(r * cell, clip.top);
        const int bottom = std::min(r * cell + cell, clip.bottom);
        if (!source.cells) {
            canvas.Fill({left, top, right, bottom}, BLACK);
            continue;
        }
        const Cell* values =
            source.cells + static_cast<std::size_t>(view.TopRow() + r) * MAP_SIZE + view.LeftCol();
        const std::uint8_t* kinds =
            RowKinds(source, view.TopRow() + r, view.LeftCol(), values, cells.right);
        // Rows of no object can go straight to memory: no object is drawn over them, but
        // for the rare object whose cells there were overwritten.
        const bool objectsInRow = source.objects && QueueRowObjects(values, kinds, r, cells);
        if (drawTiles)
            m_shrunk.DrawLines(kinds, top - r * cell, bottom - r * cell, left, right,
                               canvas.At(left, top), stride, !objectsInRow);
        else
            canvas.Fill({left, top, right, bottom}, BLACK);
    }
    for (const QueuedObject& object : m_queue) {
        const int size = m_objectSizes[object.picture];
        canvas.Copy(m_objectPictures[object.picture].data(), size, size, object.col * cell,
                    object.row * cell);
    }
}

// Queues the anchors of the objects larger than one cell with a cell in row r, in the order
// their cells come: the order they are drawn in, later ones over earlier ones.
bool MapRenderer::QueueRowObjects(const Cell* values, const std::uint8_t* kinds, int r,
                                  const Rect& cells) {
    // Which cells of the row are objects' first, asking early for the values of those cells
    // (a row of a map's cells is too large to be in the cache): their memory is then fetched
    // all at once instead of one cell after another.
    std::array<unsigned, MAP_SIZE / 16 + 1> found;
    int chunks = 0;
    unsigned any = 0;
    for (int from = cells.left; from < cells.right; from += 16) {
        found[chunks] = LargeObjectKinds(kinds + from, std::min(16, cells.right - from));
        any |= found[chunks];
        if (found[chunks++] != 0) {
            __builtin_prefetch(values + from);
            __builtin_prefetch(values + std::min(from + 15, cells.right - 1));
        }
    }
    for (int chunk = 0; chunk < chunks; ++chunk) {
        const int from = cells.left + chunk * 16;
        for (unsigned bits = found[chunk]; bits != 0; bits &= bits - 1) {
            const int c = from + std::countr_zero(bits);
            const Cell v = values[c];
            // A kind that does not match its cell (which the radar never leaves) is not
            // trusted: the cell decides.
            if (v - OBJECT_6X6 > OBJECT_1X1 - OBJECT_6X6)
                continue;
            const ObjectStep step = OBJECT_STEPS[v - OBJECT_6X6];
            if (step.side == 0)
                continue;
            // The same object's cell on the left or above has the same anchor and queues it
            // (or leaves it to one of its own): only the top-left visible cells need to.
            const bool leftOfIt = step.column > 0 && c > cells.left && values[c - 1] == v - 1;
            const bool aboveIt = step.row > 0 && r > cells.top &&
                                 values[c - MAP_SIZE] == v - static_cast<Cell>(step.side);
            if (!leftOfIt && !aboveIt)
                QueueAnchor({c - step.column, r - step.row, step.picture});
        }
    }
    return any != 0;
}

// The kinds of a row's cells from column `leftCol` on: the radar picture's, or worked out
// here when there is none.
const std::uint8_t* MapRenderer::RowKinds(const RenderSource& source, int row, int leftCol,
                                          const Cell* values, int count) {
    if (source.radar)
        return source.radar->KindRow(row) + leftCol;
    m_rowKinds.resize(static_cast<std::size_t>(count));
    std::transform(values, values + count, m_rowKinds.begin(), CellKind);
    return m_rowKinds.data();
}

void MapRenderer::RenderBlock(const RenderSource& source, const ViewGeometry& view,
                              const Cell* block, int columns, int rows, Point at, const Rect& clip,
                              std::uint32_t* out, int stride) {
    if (clip.IsEmpty() || !block)
        return;
    const Canvas canvas{out, stride, clip};
    const int cell = view.CellWidth();
    // Only the block's cells that meet the clip.
    const int firstCol = std::max(FloorDiv(clip.left - at.x, cell), 0);
    const int endCol = std::min(FloorDiv(clip.right - at.x - 1, cell) + 1, columns);
    const int firstRow = std::max(FloorDiv(clip.top - at.y, cell), 0);
    const int endRow = std::min(FloorDiv(clip.bottom - at.y - 1, cell) + 1, rows);
    if (firstCol >= endCol || firstRow >= endRow)
        return;

    if (view.IsLowZoom() && !source.detailedTiles) {
        // No pictures at these sizes: every tile and object cell is a grey block.
        for (int r = firstRow; r < endRow; ++r)
            for (int c = firstCol; c < endCol; ++c) {
                const Cell v = block[static_cast<std::size_t>(r) * columns + c];
                if (IsTileCell(v) || IsKeptCell(v) || IsQueuedObjectValue(v) || v == OBJECT_1X1)
                    canvas.Fill({at.x + c * cell, at.y + r * cell, at.x + c * cell + cell,
                                 at.y + r * cell + cell},
                                PLACEHOLDER_GREY);
            }
        return;
    }

    if (source.tileSet)
        PrepareTiles(*source.tileSet, cell);
    if (source.objects)
        PrepareObjects(*source.objects, cell);
    StartQueue(firstCol, firstRow, endCol, endRow);
    const std::size_t tilePixels = static_cast<std::size_t>(cell) * cell;
    for (int r = firstRow; r < endRow; ++r)
        for (int c = firstCol; c < endCol; ++c) {
            const Cell v = block[static_cast<std::size_t>(r) * columns + c];
            const int x = at.x + c * cell;
            const int y = at.y + r * cell;
            if (IsTileCell(v) || IsKeptCell(v)) {
                if (source.tileSet)
                    CopyCell(canvas, &m_tiles[tilePixels * TilePicture(v)], cell, x, y);
            } else if (v == OBJECT_1X1) {
                if (source.objects && m_objectSizes[3] == cell)
                    CopyCell(canvas, m_objectPictures[3].data(), cell, x, y);
            } else if (IsQueuedObjectValue(v)) {
                QueueObject(c, r, v);
            }
        }
    if (!source.objects)
        return;
    for (const QueuedObject& object : m_queue) {
        const int size = m_objectSizes[object.picture];
        canvas.Copy(m_objectPictures[object.picture].data(), size, size, at.x + object.col * cell,
                    at.y + object.row * cell);
    }
}

} // namespace krav
