// The low zooms without pictures: each cell a block of its kind's radar colour.
#include "render/RadarCells.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace krav {

namespace {

constexpr std::uint32_t BLACK = 0xFF000000u;

// The radar picture's kinds of cell as pixels of their radar colours.
std::array<std::uint32_t, 256> RadarPixels() {
    std::array<std::uint32_t, 256> pixels;
    for (int kind = 0; kind < 256; ++kind) {
        const RadarColour& c =
            RadarPicture::COLOURS[RadarColourOfKind(static_cast<std::uint8_t>(kind))];
        pixels[kind] = BLACK | static_cast<std::uint32_t>(c.red) << 16 |
                       static_cast<std::uint32_t>(c.green) << 8 | c.blue;
    }
    return pixels;
}

const std::array<std::uint32_t, 256> RADAR_PIXELS = RadarPixels();

// Pixels left..right of one line of low-zoom cells, `cell` pixels wide, each in the radar
// colour of its cell; with no division per cell, as this runs for up to a million cells.
void RadarCellsLine(std::uint32_t* line, const std::uint8_t* kinds, int left, int right, int cell) {
    int column = left / cell;
    for (int x = left; x < right; ++column) {
        const int end = std::min(column * cell + cell, right);
        const std::uint32_t colour = RADAR_PIXELS[kinds[column]];
        for (; x < end; ++x)
            line[x - left] = colour;
    }
}

// The same for cells N pixels wide: whole cells with a constant width, which the compiler
// writes in one go; only cells the clip cuts take the general way.
template <int N>
void RadarCellsLine(std::uint32_t* line, const std::uint8_t* kinds, int left, int right) {
    const int wholeLeft = std::min((left + N - 1) / N * N, right);
    const int wholeRight = std::max(right / N * N, wholeLeft);
    RadarCellsLine(line, kinds, left, wholeLeft, N);
    std::uint32_t* to = line + (wholeLeft - left);
    for (int column = wholeLeft / N; column < wholeRight / N; ++column, to += N) {
        const std::uint32_t colour = RADAR_PIXELS[kinds[column]];
        for (int i = 0; i < N; ++i)
            to[i] = colour;
    }
    RadarCellsLine(line + (wholeRight - left), kinds, wholeRight, right, N);
}

std::uint32_t* PixelAt(std::uint32_t* out, int stride, const Rect& clip, int x, int y) {
    return out + static_cast<std::ptrdiff_t>(y - clip.top) * stride + (x - clip.left);
}

} // namespace

void DrawRadarCells(const RadarPicture* radar, const ViewGeometry& view, const Rect& cells,
                    const Rect& clip, std::uint32_t* out, int stride) {
    const int cell = view.CellWidth();
    // One pixel of the radar picture per cell, scaled up to the cell size.
    for (int r = cells.top; r < cells.bottom; ++r) {
        const int top = std::max(r * cell, clip.top);
        const int bottom = std::min(r * cell + cell, clip.bottom);
        if (top >= bottom)
            continue;
        const int left = std::max(cells.left * cell, clip.left);
        const int right = std::min(cells.right * cell, clip.right);
        if (left >= right)
            continue;
        // One line of pixels, then copies of it for the cell's other lines.
        std::uint32_t* line = PixelAt(out, stride, clip, left, top);
        const std::uint8_t* kinds =
            radar ? radar->KindRow(view.TopRow() + r) + view.LeftCol() : nullptr;
        if (!kinds) {
            std::fill(line, line + (right - left), BLACK);
        } else if (cell == 1) {
            for (int x = left; x < right; ++x)
                line[x - left] = RADAR_PIXELS[kinds[x]];
        } else if (cell == 2) {
            RadarCellsLine<2>(line, kinds, left, right);
        } else if (cell == 4) {
            RadarCellsLine<4>(line, kinds, left, right);
        } else {
            RadarCellsLine(line, kinds, left, right, cell);
        }
        for (int y = top + 1; y < bottom; ++y)
            std::copy_n(line, right - left, PixelAt(out, stride, clip, left, y));
    }
}

} // namespace krav
