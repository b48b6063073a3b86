#include "render/ShrunkTiles.h"

#include "editing/RadarPicture.h"
#include "render/BoxFilter.h"
#include "render/KeptCellPicture.h"
#include "render/WideStores.h"

#include <algorithm>
#include <cstdint>
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
    const auto kept = BoxFilter(KEPT_PICTURE_SIZE, cellSize, KeptCellPixel);
    std::copy(kept.begin(), kept.end(), m_pictures.begin() + m_pixels * KIND_KEPT);
    const ObjectPictureSet::Picture* small = objects ? &objects->pictures[3] : nullptr;
    if (small && small->size > 0) {
        const auto shrunk = BoxFilter(small->size, cellSize, [&](int x, int y) {
            return objects->colours[small->pixels[static_cast<std::size_t>(y) * small->size + x]];
        });
        std::copy(shrunk.begin(), shrunk.end(), m_pictures.begin() + m_pixels * KIND_OBJECT_1X1);
    }
    for (int kind = 0; kind < 256; ++kind)
        m_pixelOf[kind] = m_pictures[m_pixels * kind];
    // Two kinds (the first in the low byte) to their two pixels (the first in the low half).
    m_pairOf.assign(cellSize == 1 ? 256 * 256 : 0, 0);
    for (std::size_t two = 0; two < m_pairOf.size(); ++two)
        m_pairOf[two] = m_pixelOf[two & 0xFF] | std::uint64_t{m_pixelOf[two >> 8]} << 32;
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
        // Four cells to a store on each line where the processor has the wide stores.
        if (WideStoresAvailable()) {
            const int done = CopyTwoByTwoCellsWide(pictures, kinds, column, endColumn, to, stride);
            to += (done - column) * N;
            column = done;
        }
        // Else (and for the last cells) two to a store, which halves the stores of the loop
        // below: a cell's whole picture is one load, its top line the low half, its bottom
        // the high.
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

// The line of a row of cells a pixel each, eight at a time: one load of eight kinds, and one
// lookup for each two of them, which gives their two pixels. Streamed stores need 16-byte
// alignment, which the first pixels reach one by one.
template <bool Streamed>
void ShrunkTiles::DrawPixelCells(const std::uint8_t* kinds, int left, int right,
                                 std::uint32_t* line) const {
    int x = left;
#if defined(__SSE2__)
    for (; Streamed && x < right && reinterpret_cast<std::uintptr_t>(line + (x - left)) % 16 != 0;
         ++x)
        line[x - left] = m_pixelOf[kinds[x]];
    const std::uint64_t* pairs = m_pairOf.data();
    for (; x + 8 <= right; x += 8) {
        std::uint64_t eight;
        std::memcpy(&eight, kinds + x, sizeof eight);
        const auto pair = [&](int i) {
            return _mm_loadl_epi64(
                reinterpret_cast<const __m128i*>(pairs + (eight >> (16 * i) & 0xFFFFu)));
        };
        auto* to = reinterpret_cast<__m128i*>(line + (x - left));
        if constexpr (Streamed) {
            _mm_stream_si128(to, _mm_unpacklo_epi64(pair(0), pair(1)));
            _mm_stream_si128(to + 1, _mm_unpacklo_epi64(pair(2), pair(3)));
        } else {
            _mm_storeu_si128(to, _mm_unpacklo_epi64(pair(0), pair(1)));
            _mm_storeu_si128(to + 1, _mm_unpacklo_epi64(pair(2), pair(3)));
        }
    }
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
                            int right, std::uint32_t* out, std::ptrdiff_t stride,
                            bool streamed) const {
    const bool whole = firstLine == 0 && endLine == m_cellSize;
    if (whole && m_cellSize == 1) {
        if (streamed)
            DrawPixelCells<true>(kinds, left, right, out);
        else
            DrawPixelCells<false>(kinds, left, right, out);
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
