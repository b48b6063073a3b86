#include "render/ShrunkTiles.h"

#include "render/BoxFilter.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

namespace krav {

namespace {

constexpr std::uint32_t BLACK = 0xFF000000u;
constexpr int SMALL_OBJECT_PICTURE = TILE_COUNT;
constexpr int BLACK_PICTURE = TILE_COUNT + 1;

// Every value a cell holds except EMPTY_CELL lies below 1024: one small table gives any
// cell's picture in one step, values above sharing its last entry (black).
constexpr Cell LOOKUP_SIZE = 1024;

constexpr std::array<std::uint8_t, LOOKUP_SIZE> MakeLookup() {
    std::array<std::uint8_t, LOOKUP_SIZE> lookup{};
    for (Cell v = 0; v < LOOKUP_SIZE; ++v)
        lookup[v] = v < static_cast<Cell>(TILE_COUNT) ? static_cast<std::uint8_t>(v)
                    : v == OBJECT_1X1                 ? SMALL_OBJECT_PICTURE
                                                      : BLACK_PICTURE;
    return lookup;
}

constexpr std::array<std::uint8_t, LOOKUP_SIZE> LOOKUP = MakeLookup();
static_assert(BLACK_PICTURE < 256 && OBJECT_1X1 < LOOKUP_SIZE - 1);

} // namespace

void ShrunkTiles::Forget() {
    m_tilesFrom = nullptr;
    m_objectsFrom = nullptr;
    m_cellSize = 0;
}

void ShrunkTiles::Prepare(const TileSetBitmap& tileSet, const ObjectPictureSet* objects,
                          int cellSize) {
    if (m_tilesFrom == &tileSet && m_objectsFrom == objects && m_cellSize == cellSize)
        return;
    const std::size_t pixels = static_cast<std::size_t>(cellSize) * cellSize;
    m_pictures.assign(pixels * (BLACK_PICTURE + 1), BLACK);
    std::array<std::uint32_t, 256> colours;
    for (int i = 0; i < 256; ++i)
        colours[i] = BLACK | tileSet.ColourRgb(i);
    for (int t = 0; t < TILE_COUNT; ++t) {
        const TileRect rect = TileRectOf(t);
        const auto shrunk = BoxFilter(TILE_SIZE, cellSize, [&](int x, int y) {
            return colours[tileSet.PixelAt(rect.x + x, rect.y + y)];
        });
        std::copy(shrunk.begin(), shrunk.end(), m_pictures.begin() + pixels * t);
    }
    const ObjectPictureSet::Picture* small = objects ? &objects->pictures[3] : nullptr;
    if (small && small->size > 0) {
        const auto shrunk = BoxFilter(small->size, cellSize, [&](int x, int y) {
            return objects->colours[small->pixels[static_cast<std::size_t>(y) * small->size + x]];
        });
        std::copy(shrunk.begin(), shrunk.end(), m_pictures.begin() + pixels * SMALL_OBJECT_PICTURE);
    }
    if (cellSize == 1) // a pixel per cell: its colour straight from the cell's value
        for (Cell v = 0; v < LOOKUP_SIZE; ++v)
            m_pixelOf[v] = m_pictures[LOOKUP[v]];
    m_tilesFrom = &tileSet;
    m_objectsFrom = objects;
    m_cellSize = cellSize;
}

std::size_t ShrunkTiles::PictureIndex(Cell v) {
    return LOOKUP[std::min(v, LOOKUP_SIZE - 1)];
}

// Cells of a constant width: one lookup and one fixed-size copy per cell; a cell the clip cuts
// at either end gives the pixels it shows one by one.
template <int N>
void ShrunkTiles::DrawWholeCells(const Cell* values, int y, int left, int right,
                                 std::uint32_t* line) const {
    constexpr std::size_t PIXELS = static_cast<std::size_t>(N) * N;
    const std::uint32_t* lines = m_pictures.data() + static_cast<std::size_t>(y) * N;
    const auto partly = [&](int from, int to) {
        for (int x = from; x < to; ++x)
            line[x - left] = lines[PictureIndex(values[x / N]) * PIXELS + x % N];
    };
    const int wholeLeft = std::min((left + N - 1) / N * N, right);
    const int wholeRight = std::max(right / N * N, wholeLeft);
    partly(left, wholeLeft);
    std::uint32_t* to = line + (wholeLeft - left);
    for (int column = wholeLeft / N; column < wholeRight / N; ++column, to += N)
        std::memcpy(to, lines + PictureIndex(values[column]) * PIXELS, N * sizeof(std::uint32_t));
    partly(wholeRight, right);
}

void ShrunkTiles::DrawLine(const Cell* values, int y, int left, int right,
                           std::uint32_t* line) const {
    switch (m_cellSize) {
    case 1:
        for (int x = left; x < right; ++x)
            line[x - left] = m_pixelOf[std::min(values[x], LOOKUP_SIZE - 1)];
        return;
    case 2:
        return DrawWholeCells<2>(values, y, left, right, line);
    case 4:
        return DrawWholeCells<4>(values, y, left, right, line);
    default: {
        const std::size_t pixels = static_cast<std::size_t>(m_cellSize) * m_cellSize;
        for (int x = left; x < right; ++x)
            line[x - left] = m_pictures[PictureIndex(values[x / m_cellSize]) * pixels +
                                        static_cast<std::size_t>(y) * m_cellSize + x % m_cellSize];
        return;
    }
    }
}

} // namespace krav
