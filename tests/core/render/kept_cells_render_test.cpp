// Kept cells (codes of no tile or object) drawn as their own marked picture at every zoom and
// by every way of drawing: they must never show as empty, as a tile, or as a neighbour.
#include "render/BoxFilter.h"
#include "render/KeptCellPicture.h"
#include "render/MapRenderer.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace krav {
namespace {

constexpr std::uint32_t WHITE = 0xFFFFFFFFu;

// The view's first row: kept cells at columns 1, 2 (side by side, so both halves of a pair
// of pixels are tried), 5 and 30, tile 0 elsewhere but at column 7, which is empty.
constexpr int KEPT_COLUMNS[] = {1, 2, 5, 30};

struct Zoom {
    std::string text;
    double zoom;
    int cell;
};
const std::vector<Zoom> ZOOMS = {{"1:16", 0.0625, 1}, {"1:8", 0.125, 2}, {"1:4", 0.25, 4},
                                 {"1:2", 0.5, 8},     {"1:1", 1.0, 16},  {"2:1", 2.0, 32}};

class KeptCellPictures : public ::testing::Test {
protected:
    KeptCellPictures() : cells(MAP_CELLS, EMPTY_CELL) {
        for (int x = 0; x < 32; ++x)
            cells[x] = 0;
        cells[7] = EMPTY_CELL;
        cells[1] = KeptCell(241);
        cells[2] = KeptCell(0);
        cells[5] = KeptCell(255);
        cells[30] = KeptCell(242);
        radar.Build(cells.data());
    }

    // The view's 32 x 4 cells.
    std::vector<std::uint32_t> Draw(const Zoom& z, bool detailed, bool withRadar) {
        const int w = 32 * z.cell, h = 4 * z.cell;
        const ViewGeometry view =
            ViewGeometry::OfArea(w, h, z.zoom, z.cell, Rect{0, 0, 32, 4}, true);
        std::vector<std::uint32_t> out(static_cast<std::size_t>(w) * h, 0);
        MapRenderer renderer;
        renderer.Render({cells.data(), &tiles, withRadar ? &radar : nullptr, nullptr, detailed},
                        view, {0, 0, w, h}, out.data(), w);
        return out;
    }

    // The pixels of cell `column` of the first row.
    static std::vector<std::uint32_t> CellPixels(const std::vector<std::uint32_t>& pixels,
                                                 int column, int cell) {
        std::vector<std::uint32_t> out;
        for (int y = 0; y < cell; ++y)
            for (int x = column * cell; x < column * cell + cell; ++x)
                out.push_back(pixels[static_cast<std::size_t>(y) * 32 * cell + x]);
        return out;
    }

    std::vector<Cell> cells;
    TileSetBitmap tiles;
    RadarPicture radar;
};

// What a kept cell looks like at a cell size: white in the radar's colours; otherwise its
// picture shrunk by averaging at the low zooms, scaled without smoothing above.
std::vector<std::uint32_t> Expected(int cell, bool radarColours) {
    if (radarColours)
        return std::vector<std::uint32_t>(static_cast<std::size_t>(cell) * cell, WHITE);
    if (cell <= 4)
        return BoxFilter(KEPT_PICTURE_SIZE, cell, KeptCellPixel);
    std::vector<std::uint32_t> scaled;
    for (int y = 0; y < cell; ++y)
        for (int x = 0; x < cell; ++x)
            scaled.push_back(KeptCellPixel(x * 16 / cell, y * 16 / cell));
    return scaled;
}

TEST_F(KeptCellPictures, EveryZoomAndWayOfDrawingShowsTheMarkedPicture) {
    for (const Zoom& z : ZOOMS) {
        for (const bool detailed : {false, true}) {
            for (const bool withRadar : {true, false}) {
                const bool low = z.cell <= 4;
                if (low && !detailed && !withRadar)
                    continue; // the radar's colours need the radar
                SCOPED_TRACE(z.text + (detailed ? " detailed" : "") +
                             (withRadar ? "" : " without radar"));
                const auto pixels = Draw(z, detailed, withRadar);
                const auto expected = Expected(z.cell, low && !detailed);
                for (const int column : KEPT_COLUMNS)
                    EXPECT_EQ(CellPixels(pixels, column, z.cell), expected) << column;
                EXPECT_NE(CellPixels(pixels, 0, z.cell), expected) << "a tile";
                EXPECT_NE(CellPixels(pixels, 7, z.cell), expected) << "an empty cell";
                EXPECT_EQ(CellPixels(pixels, 3, z.cell), CellPixels(pixels, 0, z.cell))
                    << "the tile beside them is drawn as a tile";
            }
        }
    }
}

TEST_F(KeptCellPictures, AFloatingBlockShowsThemToo) {
    const std::vector<Cell> block{KeptCell(241), 0, KeptCell(0)};
    for (const Zoom& z : ZOOMS) {
        for (const bool detailed : {false, true}) {
            SCOPED_TRACE(z.text + (detailed ? " detailed" : ""));
            const int w = 3 * z.cell;
            const ViewGeometry view =
                ViewGeometry::OfArea(w, z.cell, z.zoom, z.cell, Rect{0, 0, 3, 1}, true);
            std::vector<std::uint32_t> out(static_cast<std::size_t>(w) * z.cell, 0);
            MapRenderer renderer;
            renderer.RenderBlock({cells.data(), &tiles, &radar, nullptr, detailed}, view,
                                 block.data(), 3, 1, {0, 0}, {0, 0, w, z.cell}, out.data(), w);
            const bool placeholder = z.cell <= 4 && !detailed;
            // The middle pixel of a cell: past the picture's frame.
            const int middle = z.cell / 2;
            const auto first = [&](int column) {
                return out[static_cast<std::size_t>(middle) * w + column * z.cell + middle];
            };
            const std::uint32_t keptMiddle =
                Expected(z.cell, false)[static_cast<std::size_t>(middle) * z.cell + middle];
            if (placeholder) {
                EXPECT_EQ(first(0), 0xFFC0C0C0u) << "drawn as every cell of a block is";
                EXPECT_EQ(first(2), 0xFFC0C0C0u);
            } else {
                EXPECT_EQ(first(0), keptMiddle);
                EXPECT_EQ(first(2), keptMiddle);
                EXPECT_NE(first(1), first(0));
            }
        }
    }
}

} // namespace
} // namespace krav
