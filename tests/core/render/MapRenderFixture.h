// The map view the renderer tests draw: a tile set whose tiles show their index and their
// scaling, framed object pictures, and a view on the map's bottom-right corner with objects,
// tiles and a flag placed around it, at each zoom.

#pragma once

#include "render/MapRenderer.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace krav::render_test {

constexpr std::uint32_t BLACK = 0xFF000000u;
constexpr std::uint32_t GRID_GREY = 0xFF5F5F5Fu;
constexpr std::uint32_t EDGE_WHITE = 0xFFFFFFFFu;
constexpr std::uint32_t PLACEHOLDER_GREY = 0xFFC0C0C0u;
constexpr std::uint32_t RADAR_GREY_PIXEL = 0xFFC0C0C0u;
constexpr std::uint32_t RADAR_RED_PIXEL = 0xFFFF0000u;
constexpr std::uint32_t RADAR_YELLOW_PIXEL = 0xFFFFFF00u;
constexpr std::uint32_t RADAR_CYAN_PIXEL = 0xFF00FFFFu;
constexpr std::uint32_t RADAR_MAGENTA_PIXEL = 0xFFFF00FFu;

// Tile pictures use colour index t for tile t, and index 255 on their diagonal so that the
// scaling shows. Every index has its own colour.
constexpr int DIAGONAL_INDEX = 255;
constexpr std::uint32_t IndexColour(int index) {
    return BLACK | static_cast<std::uint32_t>(index) << 16 |
           static_cast<std::uint32_t>(255 - index) << 8 |
           static_cast<std::uint32_t>(index * 7 & 255);
}

// Object pictures: a frame around a plain fill, colours per picture. The frame is two pixels
// wide so that it survives the halving at 1:2.
constexpr std::uint32_t OBJECT_FILL[4] = {0xFF204080u, 0xFF408020u, 0xFF802040u, 0xFF6060F0u};
constexpr std::uint32_t OBJECT_FRAME[4] = {0xFFFFA000u, 0xFF00A0FFu, 0xFFA0FF00u, 0xFFFF00A0u};

inline TileSetBitmap DiagonalTiles() {
    TileSetBitmap tiles;
    tiles.topDown = true;
    for (int i = 0; i < 256; ++i) {
        const std::uint32_t rgb = IndexColour(i);
        tiles.colourTable[i * 4] = rgb & 0xFF;
        tiles.colourTable[i * 4 + 1] = rgb >> 8 & 0xFF;
        tiles.colourTable[i * 4 + 2] = rgb >> 16 & 0xFF;
    }
    for (int t = 0; t < TILE_COUNT; ++t) {
        const TileRect rect = TileRectOf(t);
        for (int y = 0; y < TILE_SIZE; ++y)
            for (int x = 0; x < TILE_SIZE; ++x)
                tiles.pixels[(rect.y + y) * TILESET_WIDTH + rect.x + x] =
                    static_cast<std::uint8_t>(x == y ? DIAGONAL_INDEX : t);
    }
    return tiles;
}

inline ObjectPictureSet FramedObjects() {
    ObjectPictureSet objects;
    const int sizes[4] = {96, 80, 32, 16};
    for (int i = 0; i < 4; ++i) {
        auto& picture = objects.pictures[i];
        picture.size = sizes[i];
        picture.pixels.resize(sizes[i] * sizes[i]);
        for (int y = 0; y < sizes[i]; ++y)
            for (int x = 0; x < sizes[i]; ++x) {
                const bool frame = std::min({x, y, sizes[i] - 1 - x, sizes[i] - 1 - y}) < 2;
                picture.pixels[y * sizes[i] + x] = static_cast<std::uint8_t>((frame ? 20 : 10) + i);
            }
        objects.colours[10 + i] = OBJECT_FILL[i];
        objects.colours[20 + i] = OBJECT_FRAME[i];
    }
    return objects;
}

struct Zoom {
    const char* name;
    double factor;
    int cell;
};
constexpr Zoom ZOOMS[] = {{"1_16", 0.0625, 1}, {"1_8", 0.125, 2}, {"1_4", 0.25, 4},
                          {"1_2", 0.5, 8},     {"1_1", 1.0, 16},  {"2_1", 2.0, 32}};

// The fixture view sits on the map's bottom-right corner: its origin is map cell (1014,
// 1016), 10 x 8 map cells are visible, and the client area is 12 x 10 cells, so the white
// edge is on screen. View cells (column, row):
//   6 x 6 object anchored at (-2, -2), above and left of the view: cells (0..3, 0..3) show
//   tiles 0 at (5, 0), 7 at (6, 0), 189 at (7, 1), a flag at (8, 0), 100 at (2, 5)
//   5 x 5 object anchored at (5, 3), reaching the map's corner
//   2 x 2 object anchored at (0, 5); 1 x 1 object at (3, 6); every other cell empty.
constexpr int ORIGIN_COL = 1014;
constexpr int ORIGIN_ROW = 1016;
constexpr int CLIENT_COLS = 12;
constexpr int CLIENT_ROWS = 10;

class MapRender : public ::testing::Test {
protected:
    MapRender() : cells(MAP_CELLS, EMPTY_CELL), tiles(DiagonalTiles()), objects(FramedObjects()) {
        PlaceObject(OBJECT_6X6, -2, -2);
        PlaceObject(OBJECT_5X5, 5, 3);
        PlaceObject(OBJECT_2X2, 0, 5);
        PlaceObject(OBJECT_1X1, 3, 6);
        At(5, 0) = 0;
        At(6, 0) = 7;
        At(7, 1) = 189;
        At(8, 0) = FLAG_CELL;
        At(2, 5) = 100;
        radar.Build(cells.data());
    }

    Cell& At(int viewCol, int viewRow) {
        return cells[(ORIGIN_ROW + viewRow) * MAP_SIZE + ORIGIN_COL + viewCol];
    }
    void PlaceObject(Cell base, int viewCol, int viewRow) {
        const int side = ObjectSide(base);
        for (int dy = 0; dy < side; ++dy)
            for (int dx = 0; dx < side; ++dx)
                At(viewCol + dx, viewRow + dy) = base + dy * side + dx;
    }

    static ViewGeometry View(const Zoom& zoom) {
        return ViewGeometry::OfArea(CLIENT_COLS * zoom.cell, CLIENT_ROWS * zoom.cell, zoom.factor,
                                    zoom.cell, {ORIGIN_COL, ORIGIN_ROW, MAP_SIZE, MAP_SIZE},
                                    zoom.factor > LOW_ZOOM_LIMIT);
    }

    RenderSource Source() const { return {cells.data(), &tiles, &radar, &objects}; }

    std::vector<std::uint32_t> Draw(MapRenderer& renderer, const ViewGeometry& view,
                                    const Rect& clip) {
        std::vector<std::uint32_t> out(static_cast<std::size_t>(clip.Width()) * clip.Height(), 0);
        renderer.Render(Source(), view, clip, out.data(), clip.Width());
        return out;
    }
    std::vector<std::uint32_t> DrawClient(const ViewGeometry& view) {
        MapRenderer renderer;
        return Draw(renderer, view, view.ClientRect());
    }

    std::vector<Cell> cells;
    TileSetBitmap tiles;
    ObjectPictureSet objects;
    RadarPicture radar;
};

} // namespace krav::render_test
