// Pixels of the map view worked out by hand at every zoom: tiles, objects, the grid, the
// white edge past the map and the radar picture at the low zooms.
#include "core/render/MapRenderFixture.h"

#include <string>
#include <vector>

namespace krav {
namespace {

using namespace render_test;

// A few pixels worked out by hand, so that a wrong golden picture cannot hide a fault.
struct KnownPixel {
    const char* what;
    Point (*at)(int cell);
    std::uint32_t colour;
};

void ExpectKnownPixels(const ViewGeometry& view, const std::vector<std::uint32_t>& pixels,
                       const std::vector<KnownPixel>& known) {
    for (const KnownPixel& k : known) {
        const Point p = k.at(view.CellWidth());
        EXPECT_EQ(pixels[p.y * view.ClientWidth() + p.x], k.colour)
            << k.what << " at (" << p.x << ", " << p.y << ")";
    }
}

TEST_F(MapRender, KnownPixelsAtTheHighZooms) {
    const std::vector<KnownPixel> known = {
        {"tile 0 off its diagonal",
         [](int c) {
             return Point{5 * c + c - 1, 0};
         },
         IndexColour(0)},
        {"tile 0's diagonal",
         [](int c) {
             return Point{5 * c + c / 2, c / 2};
         },
         IndexColour(DIAGONAL_INDEX)},
        {"tile 189",
         [](int c) {
             return Point{7 * c + c - 1, c};
         },
         IndexColour(189)},
        {"the flag tile",
         [](int c) {
             return Point{8 * c + c - 1, 0};
         },
         IndexColour(FLAG_CELL)},
        {"a tile's last column has no grid line",
         [](int c) {
             return Point{6 * c - 1, c / 2};
         },
         IndexColour(0)},
        {"grid on an empty cell's last column",
         [](int c) {
             return Point{5 * c - 1, c + c / 2};
         },
         GRID_GREY},
        {"grid on an empty cell's last row",
         [](int c) {
             return Point{4 * c + c / 2, 2 * c - 1};
         },
         GRID_GREY},
        {"inside an empty cell",
         [](int c) {
             return Point{4 * c + c / 2, c + c / 2};
         },
         BLACK},
        {"the map's last column, replaced by the edge",
         [](int c) {
             return Point{10 * c - 1, c / 2};
         },
         BLACK},
        {"right edge, first pixel",
         [](int c) {
             return Point{10 * c, c / 2};
         },
         EDGE_WHITE},
        {"right edge, second pixel",
         [](int c) {
             return Point{10 * c + 1, c / 2};
         },
         EDGE_WHITE},
        {"past the right edge",
         [](int c) {
             return Point{10 * c + 2, c / 2};
         },
         BLACK},
        {"bottom edge, first pixel",
         [](int c) {
             return Point{4 * c + c / 2, 8 * c};
         },
         EDGE_WHITE},
        {"bottom edge, second pixel",
         [](int c) {
             return Point{4 * c + c / 2, 8 * c + 1};
         },
         EDGE_WHITE},
        {"past the bottom edge",
         [](int c) {
             return Point{4 * c + c / 2, 8 * c + 2};
         },
         BLACK},
        {"6 x 6 object from an anchor above-left",
         [](int) {
             return Point{0, 0};
         },
         OBJECT_FILL[0]},
        {"6 x 6 object's right frame",
         [](int c) {
             return Point{4 * c - 1, 0};
         },
         OBJECT_FRAME[0]},
        {"6 x 6 object over the grid",
         [](int c) {
             return Point{c - 1, c / 2};
         },
         OBJECT_FILL[0]},
        {"5 x 5 object's corner",
         [](int c) {
             return Point{5 * c, 3 * c};
         },
         OBJECT_FRAME[1]},
        {"5 x 5 object's last pixel",
         [](int c) {
             return Point{10 * c - 1, 8 * c - 1};
         },
         OBJECT_FRAME[1]},
        {"2 x 2 object",
         [](int c) {
             return Point{c, 5 * c + c / 2};
         },
         OBJECT_FILL[2]},
        {"1 x 1 object's frame",
         [](int c) {
             return Point{3 * c, 6 * c};
         },
         OBJECT_FRAME[3]},
        {"1 x 1 object's fill",
         [](int c) {
             return Point{3 * c + c / 2, 6 * c + c / 2};
         },
         OBJECT_FILL[3]},
    };
    for (const Zoom& zoom : ZOOMS) {
        const ViewGeometry view = View(zoom);
        if (view.IsLowZoom())
            continue;
        SCOPED_TRACE(zoom.name);
        ExpectKnownPixels(view, DrawClient(view), known);
    }
}

TEST_F(MapRender, KnownPixelsAtTheLowZooms) {
    const std::vector<KnownPixel> known = {
        {"6 x 6 object",
         [](int) {
             return Point{0, 0};
         },
         RADAR_RED_PIXEL},
        {"6 x 6 object's last visible cell",
         [](int c) {
             return Point{4 * c - 1, 4 * c - 1};
         },
         RADAR_RED_PIXEL},
        {"tile 0",
         [](int c) {
             return Point{5 * c, 0};
         },
         RADAR_GREY_PIXEL},
        {"tile 189",
         [](int c) {
             return Point{8 * c - 1, 2 * c - 1};
         },
         RADAR_CYAN_PIXEL},
        {"flag",
         [](int c) {
             return Point{8 * c, 0};
         },
         RADAR_YELLOW_PIXEL},
        {"empty cell, no grid",
         [](int c) {
             return Point{5 * c - 1, 2 * c - 1};
         },
         BLACK},
        {"5 x 5 object",
         [](int c) {
             return Point{10 * c - 1, 8 * c - 1};
         },
         RADAR_MAGENTA_PIXEL},
        {"2 x 2 object",
         [](int c) {
             return Point{0, 5 * c};
         },
         RADAR_GREY_PIXEL},
        {"1 x 1 object",
         [](int c) {
             return Point{3 * c, 6 * c};
         },
         RADAR_GREY_PIXEL},
    };
    for (const Zoom& zoom : ZOOMS) {
        const ViewGeometry view = View(zoom);
        if (!view.IsLowZoom())
            continue;
        SCOPED_TRACE(zoom.name);
        ExpectKnownPixels(view, DrawClient(view), known);
    }
}

// The map's edge tells the map from the black past it at every zoom, with the grid or without
// it and with detailed tiles: two white pixels right after the map's last column and row.
TEST_F(MapRender, TheMapsEdgeIsMarkedAtEveryZoom) {
    for (const Zoom& zoom : ZOOMS)
        for (const bool grid : {true, false})
            for (const bool detailed : {false, true}) {
                const int c = zoom.cell;
                const bool gridShown = grid && zoom.factor > LOW_ZOOM_LIMIT;
                const Rect cells{ORIGIN_COL, ORIGIN_ROW, MAP_SIZE, MAP_SIZE};
                const ViewGeometry view = ViewGeometry::OfArea(CLIENT_COLS * c, CLIENT_ROWS * c,
                                                               zoom.factor, c, cells, gridShown);
                SCOPED_TRACE(std::string(zoom.name) + (grid ? " grid" : " no grid") +
                             (detailed ? " detailed" : ""));
                RenderSource source = Source();
                source.detailedTiles = detailed;
                const auto render = [&](const ViewGeometry& v) {
                    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(v.ClientWidth()) *
                                                      v.ClientHeight());
                    MapRenderer renderer;
                    renderer.Render(source, v, v.ClientRect(), pixels.data(), v.ClientWidth());
                    return pixels;
                };
                const std::vector<std::uint32_t> pixels = render(view);
                const int w = view.ClientWidth();
                const auto at = [&](int x, int y) { return pixels[y * w + x]; };
                EXPECT_EQ(at(10 * c, c / 2), EDGE_WHITE) << "right edge, first pixel";
                EXPECT_EQ(at(10 * c + 1, 8 * c - 1), EDGE_WHITE) << "right edge, second pixel";
                if (10 * c + 2 < w) { // at 1:16 the client ends with the edge
                    EXPECT_EQ(at(10 * c + 2, c / 2), BLACK) << "past the right edge";
                }
                EXPECT_EQ(at(4 * c + c / 2, 8 * c), EDGE_WHITE) << "bottom edge, first pixel";
                EXPECT_EQ(at(0, 8 * c + 1), EDGE_WHITE) << "bottom edge, second pixel";
                if (8 * c + 2 < view.ClientHeight())
                    EXPECT_EQ(at(4 * c + c / 2, 8 * c + 2), BLACK) << "below the bottom edge";
                EXPECT_EQ(at(11 * c + c / 2, 9 * c + c / 2), BLACK) << "past both edges";
                // The edge lies past the map: the map's own pixels are those of a window
                // just big enough for them, where no edge is drawn.
                const ViewGeometry mapOnly =
                    ViewGeometry::OfArea(10 * c, 8 * c, zoom.factor, c, cells, gridShown);
                const std::vector<std::uint32_t> map = render(mapOnly);
                for (int y = 0; y < 8 * c; ++y)
                    for (int x = 0; x < 10 * c; ++x)
                        ASSERT_EQ(at(x, y), map[y * 10 * c + x]) << "(" << x << ", " << y << ")";
            }
}

} // namespace
} // namespace krav
