// Tiles at the low zooms drawn from their own pictures, shrunk by averaging, instead of the
// radar's colours.
#include "render/BoxFilter.h"
#include "render/MapRenderer.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace krav {
namespace {

constexpr std::uint32_t BLACK = 0xFF000000u;

// Red rises with x, green with y, blue is a checkerboard of 0 and 255.
std::uint32_t Gradient(int x, int y) {
    return BLACK | static_cast<std::uint32_t>(x * 16) << 16 |
           static_cast<std::uint32_t>(y * 16) << 8 | ((x + y) % 2 ? 0xFFu : 0u);
}

TEST(BoxFilter, AveragesEachBlockByHand) {
    struct Case {
        std::string what;
        int size, x, y;
        std::uint32_t expected;
    };
    const std::vector<Case> cases = {
        // Columns 4..7: red 64, 80, 96, 112 -> 88; rows 8..11: green 128..176 -> 152; blue
        // 8 x 255 of 16 -> 127.5, rounded to 128.
        {"4 x 4 block (1, 2) at a quarter", 4, 1, 2, 0xFF589880u},
        // All of it: red and green 0..240 -> 120; blue as before.
        {"the whole tile to one pixel", 1, 0, 0, 0xFF787880u},
        // Columns 8..15: red 128..240 -> 184; rows 0..7: green 0..112 -> 56.
        {"8 x 8 block (1, 0) at an eighth", 2, 1, 0, 0xFFB83880u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto reduced = BoxFilter(16, c.size, Gradient);
        ASSERT_EQ(reduced.size(), static_cast<std::size_t>(c.size * c.size));
        EXPECT_EQ(reduced[c.y * c.size + c.x], c.expected);
    }
    // A picture smaller than the result is repeated, not divided by nothing.
    EXPECT_EQ(BoxFilter(1, 4, [](int, int) { return 0xFF123456u; }),
              std::vector<std::uint32_t>(16, 0xFF123456u));
}

// Tile 5's quarters are four colours; the map shows tile 5 at cell (2, 1) of the view, a
// 1 x 1 object at (0, 0) and nothing else.
constexpr int TILE = 5;
constexpr std::uint32_t QUARTERS[4] = {0xFF102030u, 0xFF405060u, 0xFF708090u, 0xFFA0B0C0u};
constexpr std::uint32_t QUARTERS_AVERAGE = 0xFF586878u;
constexpr std::uint32_t OBJECT_COLOUR = 0xFF00C0FFu;

class DetailedTiles : public ::testing::Test {
protected:
    DetailedTiles() : cells(MAP_CELLS, EMPTY_CELL) {
        tiles.topDown = true;
        for (int q = 0; q < 4; ++q) {
            tiles.colourTable[q * 4] = QUARTERS[q] & 0xFF;
            tiles.colourTable[q * 4 + 1] = QUARTERS[q] >> 8 & 0xFF;
            tiles.colourTable[q * 4 + 2] = QUARTERS[q] >> 16 & 0xFF;
        }
        const TileRect rect = TileRectOf(TILE);
        for (int y = 0; y < TILE_SIZE; ++y)
            for (int x = 0; x < TILE_SIZE; ++x)
                tiles.pixels[(rect.y + y) * TILESET_WIDTH + rect.x + x] =
                    static_cast<std::uint8_t>((y >= 8) * 2 + (x >= 8));
        cells[1 * MAP_SIZE + 2] = TILE;
        cells[0] = OBJECT_1X1;
        radar.Build(cells.data());
        objects.pictures[3].size = 16;
        objects.pictures[3].pixels.assign(256, 7);
        objects.colours[7] = OBJECT_COLOUR;
    }

    // Draws with the radar picture in step with the cells, as a view keeps it, or with none.
    std::vector<std::uint32_t> Draw(double zoom, int cell, bool detailed, const Rect& clip,
                                    Point origin = {}, bool withRadar = true) {
        const ViewGeometry view = ViewGeometry::OfArea(
            8 * cell, 4 * cell, zoom, cell, Rect{0, 0, 8, 4}.Offset(origin.x, origin.y), true);
        std::vector<std::uint32_t> out(static_cast<std::size_t>(clip.Width()) * clip.Height(), 0);
        radar.Build(cells.data());
        MapRenderer renderer;
        renderer.Render({cells.data(), &tiles, withRadar ? &radar : nullptr, &objects, detailed},
                        view, clip, out.data(), clip.Width());
        return out;
    }

    std::vector<Cell> cells;
    TileSetBitmap tiles;
    RadarPicture radar;
    ObjectPictureSet objects;
};

TEST_F(DetailedTiles, TileShowsItsShrunkPictureAtEachLowZoom) {
    struct Case {
        std::string what;
        double zoom;
        int cell;
        // The tile's pixels, row by row.
        std::vector<std::uint32_t> tile;
    };
    const auto [a, b, c, d] = QUARTERS;
    const std::vector<Case> cases = {
        {"1:4, each quarter 2 x 2 pixels",
         0.25,
         4,
         {a, a, b, b, a, a, b, b, c, c, d, d, c, c, d, d}},
        {"1:8, each quarter one pixel", 0.125, 2, {a, b, c, d}},
        {"1:16, the tile's average colour", 0.0625, 1, {QUARTERS_AVERAGE}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        const int w = 8 * k.cell;
        const auto pixels = Draw(k.zoom, k.cell, true, {0, 0, w, 4 * k.cell});
        std::vector<std::uint32_t> tile;
        for (int y = k.cell; y < 2 * k.cell; ++y)
            for (int x = 2 * k.cell; x < 3 * k.cell; ++x)
                tile.push_back(pixels[y * w + x]);
        EXPECT_EQ(tile, k.tile);
        EXPECT_EQ(pixels[0], OBJECT_COLOUR) << "the 1 x 1 object's picture";
        EXPECT_EQ(pixels[k.cell * w - 1], BLACK) << "an empty cell, no grid";
        // Without the toggle the radar's grey stays.
        EXPECT_EQ(Draw(k.zoom, k.cell, false, {0, 0, w, 4 * k.cell})[k.cell * w + 2 * k.cell],
                  0xFFC0C0C0u);
    }
}

TEST_F(DetailedTiles, LargerObjectsAreDrawnWholeWhicheverOfTheirCellsShow) {
    const std::uint32_t colours[3] = {0xFF113355u, 0xFF557711u, 0xFF771155u};
    for (int i = 0; i < 3; ++i) {
        const int size = ObjectSide(SPECIAL_OBJECTS[i].base) * 16;
        objects.pictures[i].size = size;
        objects.pictures[i].pixels.assign(static_cast<std::size_t>(size) * size,
                                          static_cast<std::uint8_t>(20 + i));
        objects.colours[20 + i] = colours[i];
    }
    const auto place = [&](Cell base, int col, int row) {
        const int side = ObjectSide(base);
        for (int dy = 0; dy < side; ++dy)
            for (int dx = 0; dx < side; ++dx)
                cells[(row + dy) * MAP_SIZE + col + dx] = base + dy * side + dx;
    };
    // The view shows map cells 10..17 x 10..13, 4 pixels each.
    place(OBJECT_6X6, 6, 7);  // anchored up and left of the view: cells 0..1 x 0..2 show
    place(OBJECT_5X5, 13, 6); // only its last row shows, a tile over one of its cells
    cells[10 * MAP_SIZE + 15] = TILE;
    place(OBJECT_2X2, 16, 12);
    cells[12 * MAP_SIZE + 16] = EMPTY_CELL; // the 2 x 2 object's anchor cell erased
    const auto pixels = Draw(0.25, 4, true, {0, 0, 32, 16}, {10, 10});
    const auto at = [&](int col, int row) { return pixels[(row * 4 + 1) * 32 + col * 4 + 1]; };
    EXPECT_EQ(at(1, 2), colours[0]);
    EXPECT_EQ(at(2, 0), BLACK);
    EXPECT_EQ(at(3, 0), colours[1]);
    EXPECT_EQ(at(5, 0), colours[1]) << "drawn whole, over the tile in its footprint";
    EXPECT_EQ(at(5, 1), BLACK);
    EXPECT_EQ(at(6, 2), colours[2]) << "drawn from its cells left, anchor or not";
    EXPECT_EQ(at(7, 3), colours[2]);
}

// Each cell of an object shows its own part of the object's picture, whichever of its cells
// show; an object with overwritten cells covers them too.
TEST_F(DetailedTiles, EachObjectCellShowsItsPartOfThePicture) {
    // Each cell's part of a picture is one colour of its own: colour index 30 + its place.
    for (int i = 0; i < 3; ++i) {
        const int side = ObjectSide(SPECIAL_OBJECTS[i].base);
        const int size = side * 16;
        objects.pictures[i].size = size;
        objects.pictures[i].pixels.resize(static_cast<std::size_t>(size) * size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                objects.pictures[i].pixels[y * size + x] =
                    static_cast<std::uint8_t>(30 + y / 16 * side + x / 16);
    }
    const auto colourOfPlace = [](int place) {
        return BLACK | static_cast<std::uint32_t>(place * 7) << 16 |
               static_cast<std::uint32_t>(255 - place) << 8 | 0x40u;
    };
    for (int place = 0; place < 36; ++place)
        objects.colours[30 + place] = colourOfPlace(place);
    const auto place = [&](Cell base, int col, int row) {
        const int side = ObjectSide(base);
        for (int dy = 0; dy < side; ++dy)
            for (int dx = 0; dx < side; ++dx)
                cells[(row + dy) * MAP_SIZE + col + dx] = base + dy * side + dx;
    };
    // The view shows map cells 10..17 x 10..13.
    place(OBJECT_6X6, 6, 7);   // anchored up and left of the view
    place(OBJECT_2X2, 12, 10); // all in view, on its top edge
    place(OBJECT_5X5, 15, 12); // past the view's right and bottom edges
    place(OBJECT_2X2, 10, 12); // its lower cells overwritten: a row with no object cell
    cells[13 * MAP_SIZE + 10] = EMPTY_CELL;
    cells[13 * MAP_SIZE + 11] = EMPTY_CELL;
    // What each map cell shows: its part of the object whose footprint it is in.
    std::vector<std::uint32_t> expected(MAP_CELLS, BLACK);
    const auto expect = [&](Cell base, int col, int row) {
        const int side = ObjectSide(base);
        for (int p = 0; p < side * side; ++p)
            expected[(row + p / side) * MAP_SIZE + col + p % side] = colourOfPlace(p);
    };
    expect(OBJECT_6X6, 6, 7);
    expect(OBJECT_2X2, 12, 10);
    expect(OBJECT_5X5, 15, 12);
    expect(OBJECT_2X2, 10, 12);
    for (const int cell : {4, 2, 1}) {
        const int width = 8 * cell;
        for (const Rect clip : {Rect{0, 0, width, 4 * cell}, Rect{1, 1, width - 1, 4 * cell - 1},
                                Rect{3 * cell - 1, cell + 1, 6 * cell + 1, 3 * cell}}) {
            const auto pixels = Draw(cell / 16.0, cell, true, clip, {10, 10});
            for (int y = clip.top; y < clip.bottom; ++y)
                for (int x = clip.left; x < clip.right; ++x)
                    ASSERT_EQ(pixels[(y - clip.top) * clip.Width() + x - clip.left],
                              expected[(10 + y / cell) * MAP_SIZE + 10 + x / cell])
                        << "cell " << cell << ", pixel " << x << "," << y;
        }
    }
}

// The kinds of cell come from the radar picture, or from the cells when there is none.
TEST_F(DetailedTiles, WithoutARadarPictureTheCellsGiveTheSamePicture) {
    objects.pictures[2].size = 32;
    objects.pictures[2].pixels.assign(32 * 32, 21);
    objects.colours[21] = 0xFF557711u;
    for (int d = 0; d < 4; ++d)
        cells[(1 + d / 2) * MAP_SIZE + 4 + d % 2] = OBJECT_2X2 + d;
    for (const int cell : {4, 2, 1}) {
        const Rect clip{0, 0, 8 * cell, 4 * cell};
        const auto withRadar = Draw(cell / 16.0, cell, true, clip);
        EXPECT_EQ(Draw(cell / 16.0, cell, true, clip, {}, false), withRadar) << "cell " << cell;
        EXPECT_EQ(withRadar[(1 * cell) * clip.Width() + 5 * cell], 0xFF557711u) << "cell " << cell;
    }
}

// At a pixel per cell a row is drawn eight cells at a time, straight to memory when no object
// is in it: wherever its pixels start in memory and however many there are, each cell shows
// its own tile's colour.
TEST_F(DetailedTiles, PixelPerCellRowsShowEachCellWhereverTheyStart) {
    constexpr int COLUMNS = 40;
    const auto colourOf = [](int col) {
        return BLACK | static_cast<std::uint32_t>(col * 6) << 16 | 0x80u;
    };
    for (int col = 0; col < COLUMNS; ++col) {
        const int tile = 100 + col;
        const std::uint8_t index = static_cast<std::uint8_t>(40 + col);
        const TileRect rect = TileRectOf(tile);
        for (int y = 0; y < TILE_SIZE; ++y)
            for (int x = 0; x < TILE_SIZE; ++x)
                tiles.pixels[(rect.y + y) * TILESET_WIDTH + rect.x + x] = index;
        tiles.colourTable[index * 4] = colourOf(col) & 0xFF;
        tiles.colourTable[index * 4 + 1] = colourOf(col) >> 8 & 0xFF;
        tiles.colourTable[index * 4 + 2] = colourOf(col) >> 16 & 0xFF;
        cells[2 * MAP_SIZE + col] = static_cast<Cell>(tile);
    }
    const ViewGeometry view =
        ViewGeometry::OfArea(COLUMNS, 4, 1 / 16.0, 1, Rect{0, 0, COLUMNS, 4}, true);
    MapRenderer renderer;
    // Then with an object (no picture here: black) at the row's end, as rows with objects are
    // drawn the ordinary way.
    for (const bool withObject : {false, true}) {
        if (withObject)
            for (int d = 0; d < 4; ++d)
                cells[(2 + d / 2) * MAP_SIZE + COLUMNS - 2 + d % 2] = OBJECT_2X2 + d;
        radar.Build(cells.data());
        const auto expected = [&](int col) {
            return withObject && col >= COLUMNS - 2 ? BLACK : colourOf(col);
        };
        for (const int shift : {0, 1, 2, 3})
            for (const Rect clip : {Rect{0, 2, COLUMNS, 3}, Rect{3, 2, 30, 3}, Rect{1, 2, 10, 3}}) {
                // The picture's first pixel `shift` pixels past a 16-byte boundary.
                std::vector<std::uint32_t> out(clip.Width() + 8, 0);
                std::uint32_t* first =
                    out.data() + (4 - reinterpret_cast<std::uintptr_t>(out.data()) / 4 % 4) % 4 +
                    shift;
                renderer.Render({cells.data(), &tiles, &radar, &objects, true}, view, clip, first,
                                clip.Width());
                for (int x = clip.left; x < clip.right; ++x)
                    ASSERT_EQ(first[x - clip.left], expected(x))
                        << (withObject ? "with" : "without") << " an object, shift " << shift
                        << ", pixel " << x << " of " << clip.left << ".." << clip.right;
            }
    }
}

TEST_F(DetailedTiles, ClipShowsItsPartOfTheWholePicture) {
    // Tiles along a row, so that whole cells are drawn in pairs and singly, and cut at the ends.
    for (int col = 1; col < 8; ++col)
        cells[1 * MAP_SIZE + col] = static_cast<Cell>(col % 2 == 0 ? TILE : 160 + col);
    for (const int cell : {4, 2, 1}) {
        const int width = 8 * cell;
        const auto whole = Draw(cell / 16.0, cell, true, {0, 0, width, 4 * cell});
        for (const Rect clip :
             {Rect{9, 5, 11, 7}, Rect{1, 0, 3 * cell + 1, 2 * cell},
              Rect{cell, cell, 7 * cell, 2 * cell}, Rect{3, 1, width, 4 * cell}}) {
            const Rect cut = clip.Intersected({0, 0, width, 4 * cell});
            if (cut.IsEmpty())
                continue;
            std::vector<std::uint32_t> part;
            for (int y = cut.top; y < cut.bottom; ++y)
                for (int x = cut.left; x < cut.right; ++x)
                    part.push_back(whole[y * width + x]);
            EXPECT_EQ(Draw(cell / 16.0, cell, true, cut), part)
                << "cell " << cell << ", clip " << cut.left << "," << cut.top << ".." << cut.right
                << "," << cut.bottom;
        }
    }
}

} // namespace
} // namespace krav
