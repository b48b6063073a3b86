// The radar's whole-map picture: the radar picture reduced to the window, each pixel the most
// important colour of the cells it covers.
#include "editing/RadarPicture.h"
#include "palettes/RadarOverview.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace krav {
namespace {

constexpr Cell PLAIN = 1 - 1;
constexpr Cell BLUE_WALL = 162 - 1;
constexpr Cell GREEN_WALL = 171 - 1;
constexpr Cell CYAN_TILE = 176 - 1;
constexpr Cell FLAG = FLAG_TILE - 1;

// A map and its radar picture; 256 pixels square gives each pixel a 4 x 4 block of cells.
struct WholeMapRadar : ::testing::Test {
    std::vector<Cell> cells = std::vector<Cell>(MAP_CELLS, EMPTY_CELL);
    RadarPicture picture;
    RadarOverview overview;

    Cell& At(int x, int y) { return cells[static_cast<std::size_t>(y) * MAP_SIZE + x]; }
    void FillBlock(int left, int top, int size, Cell v) {
        for (int y = top; y < top + size; ++y)
            for (int x = left; x < left + size; ++x)
                At(x, y) = v;
    }
    void Build(int width = 256, int height = 256) {
        picture.Build(cells.data());
        overview.Resize(width, height);
        overview.Build(picture);
    }
    std::uint8_t PixelAt(int x, int y) const { return overview.Row(y)[x]; }
};

TEST_F(WholeMapRadar, OneFlagInAFourByFourBlockWins) {
    FillBlock(8, 4, 4, BLUE_WALL); // pixel (2, 1)
    At(9, 5) = OBJECT_1X1;
    At(10, 6) = FLAG;
    FillBlock(12, 4, 4, PLAIN); // pixel (3, 1): plain tiles and one wall
    At(15, 7) = BLUE_WALL;
    Build();
    EXPECT_EQ(PixelAt(2, 1), RADAR_YELLOW);
    EXPECT_EQ(PixelAt(3, 1), RADAR_BLUE);
    EXPECT_EQ(PixelAt(1, 1), RADAR_BLACK);
    EXPECT_EQ(PixelAt(2, 2), RADAR_BLACK);
}

TEST_F(WholeMapRadar, MoreImportantKindWinsOverTheRest) {
    struct Case {
        std::string what;
        Cell many, one;
        std::uint8_t shown;
    };
    const std::vector<Case> cases = {
        {"flag over 6 x 6 object", OBJECT_6X6, FLAG, RADAR_YELLOW},
        {"6 x 6 object over 5 x 5 object", OBJECT_5X5, OBJECT_6X6, RADAR_RED},
        {"5 x 5 object over a wall", BLUE_WALL, OBJECT_5X5, RADAR_MAGENTA},
        {"blue wall over green wall", GREEN_WALL, BLUE_WALL, RADAR_BLUE},
        {"green wall over cyan tile", CYAN_TILE, GREEN_WALL, RADAR_GREEN},
        {"cyan tile over plain tiles", PLAIN, CYAN_TILE, RADAR_CYAN},
        {"a plain tile over empty cells", EMPTY_CELL, PLAIN, RADAR_GREY},
        {"flag over empty cells", EMPTY_CELL, FLAG, RADAR_YELLOW},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FillBlock(400, 400, 4, c.many);
        At(403, 403) = c.one;
        Build();
        EXPECT_EQ(PixelAt(100, 100), c.shown);
    }
}

TEST_F(WholeMapRadar, UpdateFollowsChangedCellsBothWays) {
    FillBlock(40, 40, 4, GREEN_WALL);
    Build();
    ASSERT_EQ(PixelAt(10, 10), RADAR_GREEN);

    At(41, 42) = FLAG;
    picture.UpdateCell(cells.data(), 41, 42);
    EXPECT_EQ(overview.Update(picture, {41, 42, 42, 43}), (Rect{10, 10, 11, 11}));
    EXPECT_EQ(PixelAt(10, 10), RADAR_YELLOW);

    // The flag erased again: the block falls back to its walls, not stuck at the flag.
    At(41, 42) = EMPTY_CELL;
    picture.UpdateCell(cells.data(), 41, 42);
    overview.Update(picture, {41, 42, 42, 43});
    EXPECT_EQ(PixelAt(10, 10), RADAR_GREEN);

    // A block reaching past the map's edge is cut to it.
    At(1023, 0) = FLAG;
    picture.UpdateCell(cells.data(), 1023, 0);
    EXPECT_EQ(overview.Update(picture, {1020, -5, 1030, 1}), (Rect{255, 0, 256, 1}));
    EXPECT_EQ(PixelAt(255, 0), RADAR_YELLOW);
    EXPECT_EQ(overview.Update(picture, {1024, 0, 1100, 10}), Rect{});
}

TEST_F(WholeMapRadar, SidesThatDoNotDivideTheMapStillCoverEveryCell) {
    // The window's sizes: the smallest, a common one, the largest (some pixels one cell).
    for (const int side : {100, 250, 1023}) {
        SCOPED_TRACE(side);
        cells.assign(MAP_CELLS, EMPTY_CELL);
        At(0, 0) = FLAG;
        At(1023, 1023) = FLAG;
        At(511, 700) = OBJECT_6X6;
        Build(side, side);
        ASSERT_EQ(overview.Side(), side);
        EXPECT_EQ(PixelAt(0, 0), RADAR_YELLOW);
        EXPECT_EQ(PixelAt(side - 1, side - 1), RADAR_YELLOW);
        const Rect object = overview.CellsOnClient({511, 700, 512, 701});
        ASSERT_EQ(object.Width() * object.Height(), 1);
        EXPECT_EQ(PixelAt(object.left, object.top), RADAR_RED);
        EXPECT_EQ(overview.CellsOnClient(MAP_CELL_RECT), (Rect{0, 0, side, side}));
    }
}

TEST_F(WholeMapRadar, SquareIsCentredAndClicksFindTheirCells) {
    Build(300, 256);
    EXPECT_EQ(overview.Side(), 256);
    EXPECT_EQ(overview.Origin(), (Point{22, 0}));
    EXPECT_EQ(overview.CellsOnClient({0, 0, 4, 4}), (Rect{22, 0, 23, 1}));
    struct Case {
        std::string what;
        int x, y;
        Point cell;
    };
    const std::vector<Case> cases = {
        {"first pixel: the middle of its block", 22, 0, {2, 2}},
        {"last pixel", 22 + 255, 255, {1022, 1022}},
        {"left of the square: the nearest block", 0, 100, {2, 402}},
        {"past the bottom right", 299, 400, {1022, 1022}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(overview.CellAt(c.x, c.y), c.cell);
    }
}

} // namespace
} // namespace krav
