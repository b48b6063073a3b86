#include "render/ShrunkTiles.h"

#include "editing/RadarPicture.h"
#include "render/BoxFilter.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace krav {

namespace {

constexpr std::uint32_t BLACK = 0xFF000000u;

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
    m_pixels = static_cast<std::size_t>(cellSize) * cellSize;
    // A picture for every byte: a kind no cell has shows black instead of reading past them.
    m_pictures.assign(m_pixels * 256, BLACK);
    std::array<std::uint32_t, 256> colours;
    for (int i = 0; i < 256; ++i)
        colours[i] = BLACK | tileSet.ColourRgb(i);
    for (int t = 0; t < TILE_COUNT; ++t) {
        const TileRect rect = TileRectOf(t);
        const auto shrunk = BoxFilter(TILE_SIZE, cellSize, [&](int x, int y) {
            return colours[tileSet.PixelAt(rect.x + x, rect.y + y)];
        });
        std::copy(shrunk.begin(), shrunk.end(), m_pictures.begin() + m_pixels * t);
    }
    const ObjectPictureSet::Picture* small = objects ? &objects->pictures[3] : nullptr;
    if (small && small->size > 0) {
        const auto shrunk = BoxFilter(small->size, cellSize, [&](int x, int y) {
            return objects->colours[small->pixels[static_cast<std::size_t>(y) * small->size + x]];
        });
        std::copy(shrunk.begin(), shrunk.end(), m_pictures.begin() + m_pixels * KIND_OBJECT_1X1);
    }
    for (int kind = 0; kind < 256; ++kind)
        m_pixelOf[kind] = m_pictures[m_pixels * kind];
    m_tilesFrom = &tileSet;
    m_objectsFrom = objects;
    m_cellSize = cellSize;
}

// All N lines of a row of cells N pixels wide: one lookup per cell for all its lines, and
// fixed-size copies; cells the clip cuts at either end give the pixels they show one by one.
template <int N>
void ShrunkTiles::DrawWholeCells(const std::uint8_t* kinds, int left, int right, std::uint32_t* out,
                                 std::ptrdiff_t stride) const {
    const int wholeLeft = std::min((left + N - 1) / N * N, right);
    const int wholeRight = std::max(right / N * N, wholeLeft);
    for (int y = 0; y < N; ++y) {
        DrawLine(kinds, y, left, wholeLeft, out + y * stride);
        DrawLine(kinds, y, wholeRight, right, out + y * stride + (wholeRight - left));
    }
    // Held here, as the stores below could otherwise be taken to change them.
    const std::uint32_t* pictures = m_pictures.data();
    const auto picture = [&](int column) { return pictures + kinds[column] * (N * N); };
    std::uint32_t* to = out + (wholeLeft - left);
    int column = wholeLeft / N;
    const int endColumn = wholeRight / N;
#if defined(__SSE2__)
    if constexpr (N == 2) {
        // Two cells to a store on each line, which halves the stores of the loop below: a
        // cell's whole picture is one load, its top line the low half, its bottom the high.
        const auto whole = [&](int c) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(picture(c)));
        };
        for (; column + 2 <= endColumn; column += 2, to += 4) {
            const __m128i first = whole(column);
            const __m128i second = whole(column + 1);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_unpacklo_epi64(first, second));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + stride),
                             _mm_unpackhi_epi64(first, second));
        }
    }
#endif
    for (; column < endColumn; ++column, to += N)
        for (int y = 0; y < N; ++y)
            std::memcpy(to + y * stride, picture(column) + y * N, N * sizeof(std::uint32_t));
}

// The line of a row of cells a pixel each: four pixels to a store, which halves the time of
// the store-bound loop of one pixel at a time.
void ShrunkTiles::DrawPixelCells(const std::uint8_t* kinds, int left, int right,
                                 std::uint32_t* line) const {
    int x = left;
#if defined(__SSE2__)
    const auto pixel = [&](int at) { return static_cast<int>(m_pixelOf[kinds[at]]); };
    for (; x + 4 <= right; x += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(line + (x - left)),
                         _mm_setr_epi32(pixel(x), pixel(x + 1), pixel(x + 2), pixel(x + 3)));
#endif
    for (; x < right; ++x)
        line[x - left] = m_pixelOf[kinds[x]];
}

// One line of pixels, y (0 .. cell size - 1) down the cells.
void ShrunkTiles::DrawLine(const std::uint8_t* kinds, int y, int left, int right,
                           std::uint32_t* line) const {
    const int cell = m_cellSize;
    for (int x = left; x < right; ++x)
        line[x - left] = Picture(kinds[x / cell])[y * cell + x % cell];
}

void ShrunkTiles::DrawLines(const std::uint8_t* kinds, int firstLine, int endLine, int left,
                            int right, std::uint32_t* out, std::ptrdiff_t stride) const {
    const bool whole = firstLine == 0 && endLine == m_cellSize;
    if (whole && m_cellSize == 1) {
        DrawPixelCells(kinds, left, right, out);
    } else if (whole && m_cellSize == 2) {
        DrawWholeCells<2>(kinds, left, right, out, stride);
    } else if (whole && m_cellSize == 4) {
        DrawWholeCells<4>(kinds, left, right, out, stride);
    } else {
        for (int y = firstLine; y < endLine; ++y)
            DrawLine(kinds, y, left, right, out + (y - firstLine) * stride);
    }
}

} // namespace krav
