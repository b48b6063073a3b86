// The radar picture: one colour index per map cell, built once and then kept cell by cell.
#include "editing/RadarPicture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace krav {
namespace {

constexpr RadarColour BLACK{0, 0, 0};
constexpr RadarColour GREY{192, 192, 192};
constexpr RadarColour BLUE{0, 0, 255};
constexpr RadarColour GREEN{0, 255, 0};
constexpr RadarColour RED{255, 0, 0};
constexpr RadarColour YELLOW{255, 255, 0};
constexpr RadarColour CYAN{0, 255, 255};
constexpr RadarColour MAGENTA{255, 0, 255};

std::vector<Cell> EmptyMap() {
    return std::vector<Cell>(MAP_CELLS, EMPTY_CELL);
}

Cell& At(std::vector<Cell>& cells, int x, int y) {
    return cells[y * MAP_SIZE + x];
}

int ColouredCount(const RadarPicture& radar) {
    return static_cast<int>(
        std::count_if(radar.Kinds(), radar.Kinds() + MAP_CELLS,
                      [](std::uint8_t kind) { return RadarColourOfKind(kind) != RADAR_BLACK; }));
}

TEST(Radar, KindAndColourOfEachKindOfCell) {
    // Tile rows are written as code - 1, the value the cell holds.
    struct Case {
        Cell value;
        std::uint8_t kind;
        std::uint8_t index;
        RadarColour colour;
    };
    const Case cases[] = {
        {EMPTY_CELL, KIND_EMPTY, 0, BLACK},
        {1 - 1, 0, 1, GREY},
        {161 - 1, 160, 1, GREY},
        {162 - 1, 161, 2, BLUE},
        {169 - 1, 168, 2, BLUE},
        {170 - 1, 169, 5, YELLOW},
        {171 - 1, 170, 3, GREEN},
        {172 - 1, 171, 1, GREY},
        {175 - 1, 174, 1, GREY},
        {176 - 1, 175, 7, CYAN},
        {190 - 1, 189, 7, CYAN},
        {OBJECT_6X6, KIND_OBJECT_6X6, 4, RED},
        {OBJECT_6X6 + 35, KIND_OBJECT_6X6, 4, RED},
        {OBJECT_5X5, KIND_OBJECT_5X5, 8, MAGENTA},
        {OBJECT_5X5 + 24, KIND_OBJECT_5X5, 8, MAGENTA},
        {OBJECT_2X2, KIND_OBJECT_2X2, 1, GREY},
        {OBJECT_2X2 + 3, KIND_OBJECT_2X2, 1, GREY},
        {OBJECT_1X1, KIND_OBJECT_1X1, 1, GREY},
        // Values no cell holds are empty.
        {190, KIND_EMPTY, 0, BLACK},
        {OBJECT_6X6 + 36, KIND_EMPTY, 0, BLACK},
        {OBJECT_2X2 + 4, KIND_EMPTY, 0, BLACK},
        {5000, KIND_EMPTY, 0, BLACK},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CellKind(c.value), c.kind) << "cell value " << c.value;
        EXPECT_EQ(RadarColourIndex(c.value), c.index) << "cell value " << c.value;
        EXPECT_EQ(RadarPicture::COLOURS[c.index], c.colour) << "cell value " << c.value;
    }
}

TEST(Radar, NewAndClearedPicturesAreBlack) {
    RadarPicture radar;
    EXPECT_EQ(ColouredCount(radar), 0);

    std::vector<Cell> cells(MAP_CELLS, 0);
    radar.Build(cells.data());
    EXPECT_EQ(ColouredCount(radar), MAP_CELLS);
    radar.Clear();
    EXPECT_EQ(ColouredCount(radar), 0);
}

TEST(Radar, BuildStoresRowsTopDown) {
    std::vector<Cell> cells = EmptyMap();
    At(cells, 0, 0) = FLAG_CELL;
    At(cells, 1023, 0) = 162 - 1; // a door
    At(cells, 0, 1023) = OBJECT_6X6;
    At(cells, 1023, 1023) = OBJECT_5X5 + 24;
    At(cells, 5, 7) = 171 - 1;

    RadarPicture radar;
    radar.Build(cells.data());

    EXPECT_EQ(radar.IndexAt(0, 0), RADAR_YELLOW);
    EXPECT_EQ(radar.IndexAt(1023, 0), RADAR_BLUE);
    EXPECT_EQ(radar.IndexAt(0, 1023), RADAR_RED);
    EXPECT_EQ(radar.IndexAt(1023, 1023), RADAR_MAGENTA);
    EXPECT_EQ(radar.KindRow(7)[5], 171 - 1);
    EXPECT_EQ(radar.Kinds()[7 * MAP_SIZE + 5], 171 - 1);
    EXPECT_EQ(radar.KindRow(0), radar.Kinds());
    EXPECT_EQ(ColouredCount(radar), 5);
}

TEST(Radar, UpdateCellFollowsOnlyThatCell) {
    std::vector<Cell> cells = EmptyMap();
    RadarPicture radar;
    radar.Build(cells.data());

    At(cells, 300, 400) = FLAG_CELL;
    At(cells, 301, 400) = FLAG_CELL; // changed but not reported
    radar.UpdateCell(cells.data(), 300, 400);
    EXPECT_EQ(radar.IndexAt(300, 400), RADAR_YELLOW);
    EXPECT_EQ(ColouredCount(radar), 1);

    At(cells, 300, 400) = EMPTY_CELL;
    radar.UpdateCell(cells.data(), 300, 400);
    EXPECT_EQ(radar.IndexAt(300, 400), RADAR_BLACK);

    for (const Point p : {Point{-1, 0}, Point{0, -1}, Point{1024, 0}, Point{0, 1024}}) {
        radar.UpdateCell(cells.data(), p.x, p.y); // outside the map: ignored
    }
    EXPECT_EQ(ColouredCount(radar), 0);
}

TEST(Radar, UpdateCellsTouchesExactlyTheBlock) {
    // Every cell changes, but only the block is reported.
    std::vector<Cell> cells(MAP_CELLS, FLAG_CELL);
    RadarPicture radar;
    radar.UpdateCells(cells.data(), {10, 20, 15, 25});

    EXPECT_EQ(ColouredCount(radar), 25);
    for (int y = 19; y <= 25; ++y) {
        for (int x = 9; x <= 15; ++x) {
            const bool inside = x >= 10 && x < 15 && y >= 20 && y < 25;
            EXPECT_EQ(radar.IndexAt(x, y), inside ? RADAR_YELLOW : RADAR_BLACK) << x << "," << y;
        }
    }
}

TEST(Radar, UpdateCellsClipsBlocksToTheMap) {
    std::vector<Cell> cells(MAP_CELLS, FLAG_CELL);
    struct Case {
        Rect block;
        int coloured;
    };
    const Case cases[] = {
        {{-3, -3, 2, 2}, 4}, {{1020, 1022, 1030, 1030}, 8}, {{-5, 0, 2000, 1}, MAP_SIZE},
        {{5, 5, 5, 9}, 0},   {{1024, 0, 1030, 10}, 0},      {{9, 9, 5, 5}, 0},
    };
    for (const Case& c : cases) {
        RadarPicture radar;
        radar.UpdateCells(cells.data(), c.block);
        EXPECT_EQ(ColouredCount(radar), c.coloured) << c.block.left << "," << c.block.top << " - "
                                                    << c.block.right << "," << c.block.bottom;
    }
}

// Stretches of equal cells and stretches of tiles are coloured at once: a picture built or
// updated over any mix of them, lone cells and block edges must be the one cell by cell. The
// values include the last tile and the first value past the tiles, and values that only an
// unsigned comparison keeps from looking like tiles.
TEST(Radar, StretchesOfEqualCellsColourAsSingleCellsDo) {
    std::vector<Cell> cells(MAP_CELLS);
    const Cell kinds[] = {EMPTY_CELL, 0,           FLAG_CELL,   OBJECT_6X6 + 7,
                          OBJECT_5X5, 175,         5000,        TILE_COUNT - 1,
                          TILE_COUNT, 0x80000000u, 0x800000BDu, 0x7FFFFFFFu};
    unsigned seed = 1;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int i = 0; i < MAP_CELLS;) {
        const int length = static_cast<int>(next() >> 16) % 40 + 1; // lone cells to long stretches
        const bool mixed = (seed >> 4) % 2 != 0; // a new value every cell, mostly tiles
        const Cell value = kinds[(seed >> 8) % std::size(kinds)];
        for (int k = 0; k < length && i < MAP_CELLS; ++k) {
            const unsigned pick = next() >> 16;
            cells[i++] = !mixed           ? value
                         : pick % 64 == 0 ? kinds[pick / 64 % std::size(kinds)]
                                          : static_cast<Cell>(pick % TILE_COUNT);
        }
    }
    const auto expectCellByCell = [&](const RadarPicture& radar) {
        for (int i = 0; i < MAP_CELLS; ++i)
            if (radar.Kinds()[i] != CellKind(cells[i]))
                return ADD_FAILURE() << "cell " << i % MAP_SIZE << "," << i / MAP_SIZE;
    };
    RadarPicture built;
    built.Build(cells.data());
    expectCellByCell(built);
    RadarPicture updated;
    for (const Rect block : {Rect{3, 0, 1024, 400}, Rect{0, 400, 37, 1024}, Rect{0, 0, 3, 400},
                             Rect{37, 400, 1024, 1024}})
        updated.UpdateCells(cells.data(), block);
    expectCellByCell(updated);
}

} // namespace
} // namespace krav
